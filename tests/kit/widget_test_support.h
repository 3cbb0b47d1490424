// Support for the tests that drive real widgets: finding a named control
// (a missing one fails the test that asked for it and no other), and a guard
// that closes any modal dialog a test leaves open, so that no test can wait
// forever on a dialog nobody answers.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <stdexcept>
#include <string>

namespace vx::test {

// Thrown by Child when the control is not there. The test framework
// reports it as a failure of the running test, which ends there.
struct MissingWidget : std::runtime_error {
    using std::runtime_error::runtime_error;
};

template <class T>
T* Child(const QObject& parent, const QString& name) {
    T* c = parent.findChild<T*>(name);
    if (c == nullptr) {
        const std::string what = std::string("no ") + T::staticMetaObject.className() + " named \"" +
                                 name.toStdString() + "\" in " + parent.metaObject()->className();
        ADD_FAILURE() << what;
        throw MissingWidget(what);
    }
    return c;
}

template <class T>
T* Child(const QObject& parent, const char* name) {
    return Child<T>(parent, QString::fromUtf8(name));
}

// A name for messages: the window title, else the class and object names.
inline std::string DialogName(const QWidget& w) {
    QString n = w.windowTitle();
    if (n.isEmpty()) n = QString::fromUtf8(w.metaObject()->className()) + QLatin1Char(' ') + w.objectName();
    return n.toStdString();
}

// Closes one modal window as its Cancel or close box would.
inline void CloseModal(QWidget& w) {
    if (auto* d = qobject_cast<QDialog*>(&w))
        d->reject();
    else
        w.close();
}

// Closes every modal window still shown; returns how many there were.
inline int CloseModalDialogs() {
    int closed = 0;
    // Each close may end a nested event loop and reveal the next dialog.
    for (int round = 0; round < 20; ++round) {
        QWidget* shown = QApplication::activeModalWidget();
        if (shown == nullptr) {
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->isVisible() && t->isModal()) {
                    shown = t;
                    break;
                }
        }
        if (shown == nullptr) break;
        CloseModal(*shown);
        ++closed;
    }
    return closed;
}

// While it lives, a modal dialog that stays open longer than `patience`
// fails the running test and is closed. On destruction it closes, and
// reports, every modal dialog still open.
class ModalDialogGuard {
public:
    explicit ModalDialogGuard(int patienceMs = 10000) : patienceMs_(patienceMs) {
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
        timer_.start();
    }
    ~ModalDialogGuard() {
        timer_.stop();
        for (int round = 0; round < 20; ++round) {
            QWidget* left = nullptr;
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->isVisible() && t->isModal()) {
                    left = t;
                    break;
                }
            if (left == nullptr) break;
            ADD_FAILURE() << "a modal dialog was left open: " << DialogName(*left);
            CloseModal(*left);
        }
    }
    ModalDialogGuard(const ModalDialogGuard&) = delete;
    ModalDialogGuard& operator=(const ModalDialogGuard&) = delete;

private:
    void Check() {
        QWidget* shown = QApplication::activeModalWidget();
        if (shown != watched_.data()) {
            watched_ = shown;
            since_.start();
            return;
        }
        if (shown == nullptr || since_.elapsed() < patienceMs_) return;
        // A progress dialog is answered by the program: it closes when its
        // work ends (long under the sanitizers).
        if (qobject_cast<QProgressDialog*>(shown) != nullptr) return;
        ADD_FAILURE() << "a modal dialog stayed open for " << patienceMs_ / 1000.0
                      << " s with nobody answering it: " << DialogName(*shown);
        watched_ = nullptr;
        CloseModal(*shown);
    }

    int patienceMs_;
    QTimer timer_;
    QPointer<QWidget> watched_;
    QElapsedTimer since_;
};

// Installs a ModalDialogGuard around every test of the program.
class ModalDialogGuardListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { guard_ = std::make_unique<ModalDialogGuard>(); }
    void OnTestEnd(const ::testing::TestInfo&) override { guard_.reset(); }
    std::unique_ptr<ModalDialogGuard> guard_;
};

} // namespace vx::test
