// Arbitrary bytes as a help file's map: no crash, no hang; what is read has topics with
// titles at most 9 levels deep, keywords in order and no empty one.
#include "platform/ui/HelpFile.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {

using qv::platform::HelpFile;

void checkTopics(const QList<HelpFile::Topic>& topics, int depth) {
    if (depth > 9)
        std::abort();
    for (const HelpFile::Topic& t : topics) {
        if (t.title.isEmpty())
            std::abort();
        checkTopics(t.children, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<HelpFile::Map> map = HelpFile::ReadMap(json);
    if (!map)
        return 0;
    checkTopics(map->contents, 1);
    for (qsizetype i = 0; i < map->index.size(); ++i) {
        if (map->index[i].keyword.isEmpty())
            std::abort();
        if (i > 0 && map->index[i - 1].keyword.compare(map->index[i].keyword, Qt::CaseInsensitive) > 0)
            std::abort();
    }
    return 0;
}
