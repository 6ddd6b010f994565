#include "shared/ui/RecentFileList.h"

#include "platform/Profile.h"

#include <QAction>
#include <QFileInfo>
#include <QStringList>

namespace qv {
namespace {

constexpr const char* kSection = "Recent File List";

std::string entry(int i) {
    return "File" + std::to_string(i + 1);
}

} // namespace

RecentFileList::RecentFileList(platform::Profile& profile, QList<QAction*> actions)
    : profile_(profile), actions_(std::move(actions)) {}

void RecentFileList::Add(const QString& path) {
    rewrite(path, path);
}

void RecentFileList::Remove(const QString& path) {
    rewrite(QString(), path);
}

void RecentFileList::rewrite(const QString& first, const QString& dropped) {
    QStringList files;
    if (!first.isEmpty())
        files << first;
    for (int i = 0; i < kSize; ++i) {
        const QString f = QString::fromStdString(profile_.GetProfileString(kSection, entry(i)));
        if (!f.isEmpty() && f != dropped)
            files << f;
    }
    for (int i = 0; i < kSize; ++i)
        profile_.WriteProfileString(kSection, entry(i),
                                    i < files.size() ? files[i].toStdString() : std::string());
    Show();
}

void RecentFileList::Show() {
    for (int i = 0; i < kSize && i < actions_.size(); ++i) {
        const QString f = QString::fromStdString(profile_.GetProfileString(kSection, entry(i)));
        actions_[i]->setVisible(!f.isEmpty());
        actions_[i]->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(f).fileName()));
        actions_[i]->setData(f);
    }
}

} // namespace qv
