#pragma once

#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "catalogue/ui/WindowHooks.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QMenu;
class QMenuBar;

namespace qv {
class UserMessages;
namespace platform {
class HelpLauncher;
class HelpWindow;
} // namespace platform
} // namespace qv

namespace qv::catalogue {

class FormsList;
class StatePictureButton;

/// The catalogue window: eleven category buttons and the Keyword button over the
/// background picture; once a category is chosen the window grows to show the list of
/// its forms and a description panel. Opening a form hands it to the variable-entry
/// program and ends the catalogue.
class CatalogueWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCollapsed = 300;
    static const char* const kTip;

    CatalogueWindow(const CatalogueData& data, const FormLauncher& launcher, UserMessages& messages,
                    WindowHooks& hooks, QWidget* parent = nullptr);
    ~CatalogueWindow() override;

    void ShowCategory(int category);
    void SelectCategoryButton(int category);
    void OpenSelectedForm();
    bool OpenSavedDocument();
    void KeywordSearch();

    int currentCategory() const { return current_; }
    QWidget* clientArea() const { return client_; }
    FormsList* formsList() const { return list_; }
    QLabel* description() const { return description_; }
    StatePictureButton* categoryButton(int k) const { return buttons_[k]; }
    StatePictureButton* keywordButton() const { return keyword_; }
    QMenuBar* menu() const { return menu_; }
    platform::HelpWindow* helpWindow(bool owned) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void createMenu();
    void layoutClient();
    void showDescription();
    void showPopup(const QPoint& at);
    void openHelp(int command);
    QMenu* viewMenu(QWidget* parent);

    const CatalogueData& data_;
    const FormLauncher& launcher_;
    UserMessages& messages_;
    WindowHooks& hooks_;
    QMenuBar* menu_ = nullptr;
    QWidget* client_ = nullptr;
    std::array<StatePictureButton*, CatalogueData::kCategories> buttons_{};
    StatePictureButton* keyword_ = nullptr;
    FormsList* list_ = nullptr;
    QLabel* description_ = nullptr;
    int current_ = 0;
    bool growing_ = false;
    int panelHeight_ = 48;
    std::unique_ptr<platform::HelpLauncher> help_;
};

} // namespace qv::catalogue
