#include "platform/ui/HelpFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QResource>
#include <algorithm>

namespace qv::platform {
namespace {

constexpr int kMaxDepth = 8;

QList<HelpFile::Topic> topicsOf(const QJsonArray& array, int depth) {
    QList<HelpFile::Topic> out;
    if (depth > kMaxDepth)
        return out;
    for (const auto& v : array) {
        const QJsonObject o = v.toObject();
        HelpFile::Topic t{o.value(QStringLiteral("title")).toString(),
                          o.value(QStringLiteral("page")).toString(),
                          topicsOf(o.value(QStringLiteral("children")).toArray(), depth + 1)};
        if (!t.title.isEmpty())
            out << t;
    }
    return out;
}

} // namespace

HelpFile::~HelpFile() {
    QResource::unregisterResource(path_, root_);
}

std::unique_ptr<HelpFile> HelpFile::Open(const QString& path) {
    static int opened = 0;
    std::unique_ptr<HelpFile> file(new HelpFile);
    file->path_ = path;
    file->root_ = QStringLiteral("/qvhelp-%1").arg(++opened);
    if (!QFile::exists(path) || !QResource::registerResource(path, file->root_))
        return nullptr;
    QFile map(QLatin1Char(':') + file->root_ + QStringLiteral("/map.json"));
    if (!map.open(QIODevice::ReadOnly))
        return nullptr;
    std::optional<Map> read = ReadMap(map.readAll());
    if (!read)
        return nullptr;
    file->map_ = std::move(*read);
    return file;
}

std::optional<HelpFile::Map> HelpFile::ReadMap(const QByteArray& json) {
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    if (o.isEmpty())
        return std::nullopt;
    Map map;
    map.title = o.value(QStringLiteral("title")).toString();
    map.contents = topicsOf(o.value(QStringLiteral("contents")).toArray(), 0);
    for (const auto& v : o.value(QStringLiteral("index")).toArray()) {
        const QJsonObject k = v.toObject();
        const QString word = k.value(QStringLiteral("keyword")).toString();
        if (!word.isEmpty())
            map.index << Keyword{word, k.value(QStringLiteral("page")).toString()};
    }
    std::stable_sort(map.index.begin(), map.index.end(), [](const Keyword& a, const Keyword& b) {
        return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    const QJsonObject contexts = o.value(QStringLiteral("contexts")).toObject();
    for (auto it = contexts.begin(); it != contexts.end(); ++it) {
        bool ok = false;
        const int number = it.key().toInt(&ok);
        if (ok)
            map.contexts.insert(number, it.value().toString());
    }
    return map;
}

} // namespace qv::platform
