#include "catalogue/ui/StartScreen.h"

#include "catalogue/ui/CataloguePictures.h"
#include "catalogue/ui/StatePictureButton.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace qv::catalogue {

StartScreen::StartScreen(const FormLauncher& launcher, WindowHooks& hooks, QWidget* parent)
    : QDialog(parent), launcher_(launcher), hooks_(hooks) {
    setObjectName(QStringLiteral("startScreen162"));
    setWindowTitle(QStringLiteral("Tolvad Organizer"));
    setWindowIcon(CataloguePictures::WindowIcon());
    setFixedSize(580, 400);
    select_ = new StatePictureButton(
        QStringLiteral("SELECT"), QSize(157, 47),
        [](CataloguePictures::State s, qreal scale) {
            return CataloguePictures::StartButton(true, s, scale);
        },
        this);
    select_->setObjectName(QStringLiteral("select1"));
    select_->setAccessibleName(tr("Choose a form"));
    select_->move(60, 263);
    open_ = new StatePictureButton(
        QStringLiteral("OPEN"), QSize(157, 47),
        [](CataloguePictures::State s, qreal scale) {
            return CataloguePictures::StartButton(false, s, scale);
        },
        this);
    open_->setObjectName(QStringLiteral("open1027"));
    open_->setAccessibleName(tr("Open a saved document"));
    open_->move(60, 329);
    connect(select_, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(open_, &QAbstractButton::clicked, this, [this] {
        const QString path =
            hooks_.openFile
                ? hooks_.openFile()
                : QFileDialog::getOpenFileName(this, QString(), QString(),
                                               QStringLiteral("Q-V Davov Files (*.qvw *.qvp *.QVW *.QVP);;"
                                                              "Q-V Davov Worksheets (*.qvw *.QVW);;"
                                                              "Q-V Print Files (*.qvp *.QVP)"));
        if (!path.isEmpty() && launcher_.OpenSavedDocument(path.toStdString()))
            reject();
    });
    select_->setFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void StartScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CataloguePictures::Background(159, devicePixelRatioF()));
}

} // namespace qv::catalogue
