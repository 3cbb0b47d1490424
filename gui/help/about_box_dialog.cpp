#include "gui/help/about_box_dialog.h"
#include "platform/qt/qt_fonts.h"

#include <QLabel>
#include <QPushButton>

#include "gui/help/close_button.h"

namespace vx {

namespace {

// Five lines on the family and how this program came to be, one on its
// terms, two on how to reach the project.
constexpr std::array<const char*, TAboutBox::kLabelCount> kLines = {
    "The Vexlin programs simulate steam locomotive valve gears,",
    "one program for each kind of gear; this one is the straight-",
    "link gear. It was begun in 2026 as a new program in C++20",
    "with Qt 6 Widgets, built with CMake and tested with",
    "GoogleTest, for Linux desktops. Version " VEXLIN_VERSION ".",
    "Free to use and to pass on to others; not to be sold.",
    "Contact: the Vexlin project. Please send questions and",
    "problem reports to the issue tracker of its repository.",
};

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About the Vexlin Valve Gear Programs"));
    setFixedSize(kClientWidth, kClientHeight + kCloseRowHeight);
    const QFont font = UiFont(UiFace::Sans, 11);
    for (int i = 0; i < kLabelCount; ++i) {
        auto* l = new QLabel(QString::fromUtf8(kLines[static_cast<std::size_t>(i)]), this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->setFont(font);
        l->move(8, 8 + 16 * i);
        l->adjustSize();
        labels_[static_cast<std::size_t>(i)] = l;
    }
    close_ = AddCloseButton(this, kClientWidth, kClientHeight);
    close_->setFocus();
}

} // namespace vx
