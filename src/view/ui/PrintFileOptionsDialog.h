#pragma once

#include <QDialog>

class QRadioButton;

namespace qv {

namespace platform {
class Profile;
}

/// "Print File Options" (dialog 143): the suite's print file editor or the user's word
/// processor. OK stores the choice as "Use External"; Cancel stores nothing.
class PrintFileOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PrintFileOptionsDialog(platform::Profile& profile, QWidget* parent = nullptr);

    QRadioButton* editorButton() const { return editor_; }
    QRadioButton* wordProcessorButton() const { return wordProcessor_; }

signals:
    /// "&What's This?": the help topic on the two options.
    void helpRequested();

protected:
    void done(int result) override;

private:
    platform::Profile& profile_;
    QRadioButton* editor_;
    QRadioButton* wordProcessor_;
};

} // namespace qv
