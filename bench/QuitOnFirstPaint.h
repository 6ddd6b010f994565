#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

/// Ends the program once the widget it watches has painted for the first time.
class QuitOnFirstPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }
};
