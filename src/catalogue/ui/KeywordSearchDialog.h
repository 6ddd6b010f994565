#pragma once

#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "catalogue/KeywordSearch.h"
#include "catalogue/ui/WindowHooks.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

namespace qv {
class UserMessages;
}

namespace qv::catalogue {

class FormsList;

/// Keyword Search: a search text (typed or picked from the suggestions), where to look,
/// "&Find Now"; the results and a form's description appear below once searched.
/// Opening a result hands it to the variable-entry program and ends with kOpened.
class KeywordSearchDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOpened = 1027;

    KeywordSearchDialog(const CatalogueData& data, const FormLauncher& launcher, UserMessages& messages,
                        WindowHooks& hooks, QWidget* parent = nullptr);

    void FindNow();
    void OpenResult(bool fromMenu);
    bool grown() const { return grown_; }

    QComboBox* searchBox() const { return search_; }
    QComboBox* lookInBox() const { return lookIn_; }
    QPushButton* findNowButton() const { return findNow_; }
    FormsList* resultsList() const { return results_; }
    QPlainTextEdit* descriptionBox() const { return description_; }
    QMenuBar* menu() const { return menu_; }

private:
    void updateFindNow();
    void showDescription();

    const CatalogueData& data_;
    const FormLauncher& launcher_;
    UserMessages& messages_;
    WindowHooks& hooks_;
    std::vector<KeywordSearch::Result> found_;
    QMenuBar* menu_;
    QComboBox* search_;
    QComboBox* lookIn_;
    QPushButton* findNow_;
    FormsList* results_;
    QPlainTextEdit* description_;
    bool grown_ = false;
};

} // namespace qv::catalogue
