#pragma once

#include "platform/ui/HelpFile.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace qv::platform {

/// The suite's help window over a help file: contents and index on the left (the index
/// with a keyword box that moves through the list as the user types), the page on the
/// right.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    /// `owner` keeps the window above it; without one the window stands on its own.
    HelpWindow(std::unique_ptr<HelpFile> file, QWidget* owner = nullptr);
    ~HelpWindow() override;

    void showContents();
    void showIndex(const QString& keyword);
    /// False when the file has no page for that context number.
    bool showContext(int context);
    /// How the help window itself is used.
    void showHowToUseHelp();

    QTextBrowser* page() const { return browser_; }
    QTreeWidget* contentsTree() const { return tree_; }
    QListWidget* indexList() const { return list_; }
    QLineEdit* keywordBox() const { return keyword_; }
    QTabWidget* tabs() const { return tabs_; }

private:
    void openPage(const QString& page);
    void present();

    std::unique_ptr<HelpFile> file_;
    QTabWidget* tabs_;
    QTreeWidget* tree_;
    QLineEdit* keyword_;
    QListWidget* list_;
    QTextBrowser* browser_;
};

} // namespace qv::platform
