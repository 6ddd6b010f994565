#pragma once

#include "entry/Interview.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace qv {

class PictureButton;

/// The interview bar: the prompt of the current occurrence, the value field, Fill In
/// Later, Back / Next with the position slider, Done and Cancel. It shows an
/// `InterviewView` and reports clicks; the interview logic lives in `Interview`.
class InterviewBar : public QWidget {
    Q_OBJECT
public:
    explicit InterviewBar(QWidget* parent = nullptr);

    void show(const InterviewView& view);
    std::string fieldText() const; // Windows-1252, at most 1024 characters
    void setFieldText(const std::string& windows1252);
    int sliderPosition() const;
    QLineEdit* valueField() const { return value_; }

signals:
    void backClicked();
    void nextClicked();
    void doneClicked();
    void cancelClicked();
    void fillInLaterClicked();
    void changed(); // anything the user did that the next update pass must see

protected:
    /// Enter and keypad Enter are Next wherever the bar has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    /// The shortcut of a disabled control does nothing: it is not typed into the answer.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureButton* picture_;
    QLabel* prompt_;
    QLineEdit* value_;
    QCheckBox* fillInLater_;
    QPushButton* back_;
    QSlider* position_;
    QPushButton* next_;
    QPushButton* done_;
    QPushButton* cancel_;
};

} // namespace qv
