// Answers the program's modal dialogs from a test, as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vx::test {

// Answers the next file dialog with `path`, and yes to replacing a file
// that is there.
inline void AnswerFileDialog(const QString& path) {
    QTimer::singleShot(0, [path] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->selectFile(path);
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Yes)->click();
        });
        QMetaObject::invokeMethod(d, "accept");
    });
}

} // namespace vx::test
