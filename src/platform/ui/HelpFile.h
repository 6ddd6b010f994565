#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <memory>

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

    ~HelpFile();

    /// Nothing when the file is missing or is no help file.
    static std::unique_ptr<HelpFile> Open(const QString& path);

    const QString& title() const { return title_; }
    const QList<Topic>& contents() const { return contents_; }
    const QList<Keyword>& index() const { return index_; }
    /// The page of a context number, or "" when the file has none for it.
    QString pageOf(int context) const { return contexts_.value(context); }
    /// The resource folder the pages lie in (":/qvhelp-N/").
    const QString& root() const { return root_; }

private:
    HelpFile() = default;

    QString path_;
    QString root_;
    QString title_;
    QList<Topic> contents_;
    QList<Keyword> index_;
    QMap<int, QString> contexts_;
};

} // namespace qv::platform
