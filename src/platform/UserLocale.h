#pragma once

#include "platform/LocaleFormat.h"

namespace qv::platform {

/// Reads the number and currency conventions of the user's locale (LC_ALL, LC_NUMERIC,
/// LC_MONETARY and LANG as the C library resolves them). Under the C or POSIX locale,
/// or when the locale cannot be set, the US English conventions are used.
class UserLocale {
public:
    static LocaleFormat current();
    /// The conventions of a named locale ("de_DE.UTF-8"); US English when it is missing.
    static LocaleFormat named(const char* localeName);
};

} // namespace qv::platform
