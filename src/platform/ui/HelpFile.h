#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <memory>
#include <optional>

namespace qv::platform {

/// A help file of the suite (QVLEGAL.HLP): a Qt binary resource file holding the HTML
/// pages and "map.json", which lists the contents, the index keywords and the pages of
/// the context numbers the programs ask for.
class HelpFile {
public:
    struct Topic {
        QString title;
        QString page;
        QList<Topic> children;
    };
    struct Keyword {
        QString keyword;
        QString page;
    };

    /// What "map.json" says. Topics nest at most 8 deep; those without a title, keywords
    /// that are empty and context numbers that are no number are left out.
    struct Map {
        QString title;
        QList<Topic> contents;
        QList<Keyword> index; // sorted, case aside
        QMap<int, QString> contexts;
    };

    ~HelpFile();

    /// Nothing when the file is missing or is no help file.
    static std::unique_ptr<HelpFile> Open(const QString& path);
    /// Nothing when `json` is not a JSON object with something in it.
    static std::optional<Map> ReadMap(const QByteArray& json);

    const QString& title() const { return map_.title; }
    const QList<Topic>& contents() const { return map_.contents; }
    const QList<Keyword>& index() const { return map_.index; }
    /// The page of a context number, or "" when the file has none for it.
    QString pageOf(int context) const { return map_.contexts.value(context); }
    /// The resource folder the pages lie in (":/qvhelp-N/").
    const QString& root() const { return root_; }

private:
    HelpFile() = default;

    QString path_;
    QString root_;
    Map map_;
};

} // namespace qv::platform
