#pragma once

#include "catalogue/FormLauncher.h"
#include "catalogue/ui/WindowHooks.h"

#include <QDialog>

namespace qv::catalogue {

class StatePictureButton;

/// The start screen: SELECT goes on to the catalogue, OPEN opens a saved worksheet or
/// print file (and ends the catalogue when it started one).
class StartScreen : public QDialog {
    Q_OBJECT
public:
    StartScreen(const FormLauncher& launcher, WindowHooks& hooks, QWidget* parent = nullptr);

    StatePictureButton* selectButton() const { return select_; }
    StatePictureButton* openButton() const { return open_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const FormLauncher& launcher_;
    WindowHooks& hooks_;
    StatePictureButton* select_;
    StatePictureButton* open_;
};

} // namespace qv::catalogue
