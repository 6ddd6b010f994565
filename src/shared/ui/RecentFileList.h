#pragma once

#include <QList>
#include <QString>

class QAction;

namespace qv {

namespace platform {
class Profile;
}

/// The File menu's list of the four files used last, kept in the program's settings
/// ("Recent File List", "File1" to "File4"), newest first.
class RecentFileList {
public:
    static constexpr int kSize = 4;

    RecentFileList(platform::Profile& profile, QList<QAction*> actions);

    /// Puts `path` first (once) and shows the list.
    void Add(const QString& path);
    /// Takes `path` off the list (a remembered file that could not be opened).
    void Remove(const QString& path);
    /// Shows the remembered files on the menu's entries ("&1 name"), hiding empty ones.
    void Show();

private:
    /// Writes the list back with `first` in front (when given) and without `dropped`.
    void rewrite(const QString& first, const QString& dropped);

    platform::Profile& profile_;
    QList<QAction*> actions_;
};

} // namespace qv
