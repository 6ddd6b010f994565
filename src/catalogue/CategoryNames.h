#pragma once

namespace qv::catalogue {

/// The eleven categories, in the order of the catalogue's data files: the category
/// buttons name them and the keyword search offers them to look in.
inline constexpr const char* kCategoryNames[11] = {"Family/Personal Records",
                                                   "Business Forms",
                                                   "Educational Records",
                                                   "Health Records",
                                                   "Investments/Financial Records",
                                                   "Purchase and Maintenance Records",
                                                   "Important Names, Dates and Facts",
                                                   "Event Planning",
                                                   "Travel Data",
                                                   "Recreational Activities",
                                                   "Special Projects"};

} // namespace qv::catalogue
