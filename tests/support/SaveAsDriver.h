#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace qv::test {

/// Answers the next Save As dialog with the keyboard, as a user would: types a name into
/// its file name box and presses Enter. A question about replacing a file is recorded and
/// answered; a dialog still open after that is cancelled with Escape.
class SaveAsDriver : public QObject {
public:
    SaveAsDriver(QString typed, QMessageBox::StandardButton answer) : typed_(std::move(typed)), answer_(answer) {
        poll([this] { return fileDialog(); });
    }

    bool dialogShown() const { return dialogShown_; }
    /// The replace question, empty when the dialog did not ask.
    const QString& question() const { return question_; }

private:
    template <typename Step> void poll(Step step) {
        QTimer::singleShot(20, this, [this, step] { // stops when the driver goes
            if (!step())
                poll(step);
        });
    }

    bool fileDialog() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return false;
        dialogShown_ = true;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            dialog->reject();
            return true;
        }
        // Typed with the focus in the name box, as the dialog expects of a user.
        // A window manager may keep the focus elsewhere; the keys below still go to the box.
        dialog->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(dialog));
        name->setFocus();
        static_cast<void>(QTest::qWaitFor([name] { return name->hasFocus(); }));
        QTest::keyClicks(name, typed_);
        poll([this] { return replaceQuestion(); });
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog->isVisible())
            QTest::keyClick(dialog, Qt::Key_Escape);
        questionPending_ = false;
        return true;
    }

    bool replaceQuestion() {
        if (!questionPending_)
            return true;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return false;
        question_ = box->text();
        box->button(answer_)->click();
        return true;
    }

    QString typed_;
    QMessageBox::StandardButton answer_;
    bool dialogShown_ = false;
    bool questionPending_ = true;
    QString question_;
};

} // namespace qv::test
