// "Export &Picture..." through the real menu actions: the main window's
// File menu and the diagram windows' context menu write the file the
// command line writes for the same state (SVG byte for byte, PNG pixel for
// pixel); the save dialog; a failed write.
// The model headers come before Qt's: Qt defines "slots" as a macro.
#include "gui/diagrams/diagram_window.h"
#include "gui/main/main_form.h"
#include "gui/controls/picture_export_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <charconv>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/kit/file_size_limit.h"
#include "tests/gui/answer_dialogs.h"
#include "tests/kit/qt_files.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

using test::AnswerFileDialog;

using test::Bytes;

QImage Pixels(const std::string& path) {
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

// Closes the next modal dialog over `window` (the reverse arm positions
// dialog a diagram window opens with), taking the list as it stands.
void CloseNextDialogOver(QWidget* window) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, window] {
        QWidget* d = QApplication::activeModalWidget();
        if (d == nullptr || d == window) return;
        d->close();
        poll->deleteLater();
    });
    poll->start();
}

std::string Exact(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

TEST(PictureExportDialog, OffersPngAndSvg) {
    QFileDialog d;
    PictureExport::ConfigureDialog(d);
    EXPECT_EQ(d.nameFilters(), (QStringList{"PNG Image (*.png)", "SVG Image (*.svg)"}));
    EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(d.defaultSuffix(), "png");
    EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
    d.selectNameFilter("SVG Image (*.svg)");
    emit d.filterSelected("SVG Image (*.svg)");
    EXPECT_EQ(d.defaultSuffix(), "svg");
}

class PictureExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    }
    void Click(const char* name) { form.findChild<QPushButton*>(QString::fromUtf8(name))->click(); }
    QAction* Action(QObject* in, const char* name) {
        auto* a = in->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // The main window's File menu action, answering the save dialog.
    void ExportMain(const std::string& path) {
        AnswerFileDialog(QString::fromStdString(path));
        Action(&form, "ExportPicture")->trigger();
    }

    test::TempDir dir;
    TMainForm form;
};

// Window states and the command line's options for them.
struct MainCase {
    const char* what;
    std::vector<const char*> clicks;
    std::vector<TMainForm::Command> commands;
    std::vector<std::string> options; // besides --angle and --revarm
};

TEST_F(PictureExportTest, MainWindowWritesWhatRenderFrameWrites) {
    const MainCase cases[] = {
        {"stopped at 180", {"Deg180"}, {}, {}},
        {"full forward, steam, large font, no screen data",
         {"Fwd", "Deg00"},
         {TMainForm::Command::SetSteam, TMainForm::Command::SetLargeFont, TMainForm::Command::SetScreenData},
         {"--steam", "--large-font", "--no-screen-data"}},
    };
    for (const MainCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : c.clicks) Click(name);
        for (const TMainForm::Command command : c.commands) form.RunCommand(command);
        form.Tick();
        const GearState& g = form.Model();
        ASSERT_EQ(g.motion.tickStep, 0);
        std::vector<std::string> options{"--angle", Exact(g.motion.driverAngle), "--revarm",
                                         Exact(static_cast<double>(g.motion.reverseArmPosition) - g.revArm.centre)};
        options.insert(options.end(), c.options.begin(), c.options.end());

        for (const char* suffix : {".png", ".svg"}) {
            SCOPED_TRACE(suffix);
            const std::string mine = dir.File(std::string(c.what) + " window" + suffix);
            const std::string theirs = dir.File(std::string(c.what) + " cli" + suffix);
            ExportMain(mine);
            std::vector<std::string> args{"render", "frame", "--out", theirs};
            args.insert(args.end(), options.begin(), options.end());
            const test::CliRun r = test::Cli(args);
            ASSERT_EQ(r.code, 0) << r.err;
            if (std::string(suffix) == ".svg") {
                EXPECT_FALSE(Bytes(mine).isEmpty());
                EXPECT_TRUE(Bytes(mine) == Bytes(theirs));
            } else {
                const QImage picture = Pixels(mine);
                ASSERT_EQ(picture.size(), QSize(1280, 1024));
                EXPECT_TRUE(picture == Pixels(theirs));
                // The picture on the screen, too (the steam dots there are
                // the program's own random ones).
                if (!form.Model().steamDisplayOn) {
                    EXPECT_TRUE(picture == form.Frame().convertToFormat(QImage::Format_RGB32));
                }
            }
        }
        for (const TMainForm::Command command : c.commands) form.RunCommand(command); // options back
    }
}

TEST_F(PictureExportTest, FailedWriteShowsOneMessageAndKeepsTheFile) {
    auto* pictures = form.findChild<PictureExport*>();
    ASSERT_NE(pictures, nullptr);
    std::vector<QString> messages;
    pictures->showError = [&messages](const QString& m) { messages.push_back(m); };
    for (const char* name : {"keep.png", "keep.svg"}) {
        SCOPED_TRACE(name);
        messages.clear();
        const std::string path = dir.File(name);
        {
            QFile f(QString::fromStdString(path));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        {
            test::FileSizeLimit limit(100); // far below any picture
            ExportMain(path);
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].startsWith(QString::fromStdString("cannot write " + path + ": "))) << messages[0].toStdString();
        EXPECT_EQ(Bytes(path), "old");
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"keep.png", "keep.svg"}));
    // The next dialog opens where the last picture went.
    EXPECT_EQ(pictures->Folder().toStdString(), dir.Path().string());
}

// The diagram windows' context menu, against "vexlin-cli diagram NAME". Each
// from a window that has drawn nothing yet: the running gear moves the solver's
// starting points, which the command line starts afresh.
TEST(DiagramPictureExport, ContextMenuWritesWhatDiagramWrites) {
    test::TempDir dir;
    const struct {
        const char* window;
        const char* name;
        bool asksPositions;
    } cases[] = {{"SineDia", "sine", true}, {"OvalDia", "oval", true}, {"SteamDia", "steam", true}, {"PortDia", "ports", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMainForm form;
        form.show();
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        auto* w = form.findChild<TDiagramWindow*>(QString::fromUtf8(c.window));
        ASSERT_NE(w, nullptr);
        if (c.asksPositions) CloseNextDialogOver(w);
        w->open();
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        if (c.asksPositions) {
            EXPECT_EQ(form.Model().revArm.positionCount, 3);
        }
        QWidget* area = w->findChild<QWidget*>(QStringLiteral("DiagramCanvas"));
        ASSERT_NE(area, nullptr);
        auto* menu = area->findChild<QMenu*>(QStringLiteral("PictureMenu"));
        ASSERT_NE(menu, nullptr);

        // On a control: that control's, no menu.
        auto* close = w->findChild<QPushButton*>();
        ASSERT_NE(close, nullptr);
        const QPoint onClose = close->geometry().center();
        QContextMenuEvent onControl(QContextMenuEvent::Mouse, onClose, area->mapToGlobal(onClose));
        QApplication::sendEvent(area, &onControl);
        EXPECT_FALSE(menu->isVisible());

        for (const char* suffix : {".png", ".svg"}) {
            SCOPED_TRACE(suffix);
            const QPoint free(20, area->height() - 20);
            QContextMenuEvent event(QContextMenuEvent::Mouse, free, area->mapToGlobal(free));
            QApplication::sendEvent(area, &event);
            ASSERT_TRUE(menu->isVisible());
            const std::string mine = dir.File(std::string(c.name) + "-window" + suffix);
            const std::string theirs = dir.File(std::string(c.name) + "-cli" + suffix);
            AnswerFileDialog(QString::fromStdString(mine));
            auto* exportPicture = menu->findChild<QAction*>(QStringLiteral("ExportPicture"));
            ASSERT_NE(exportPicture, nullptr);
            exportPicture->trigger();
            menu->hide();
            const test::CliRun r = test::Cli({"diagram", c.name, "--out", theirs});
            ASSERT_EQ(r.code, 0) << r.err;
            if (std::string(suffix) == ".svg") {
                EXPECT_FALSE(Bytes(mine).isEmpty());
                EXPECT_TRUE(Bytes(mine) == Bytes(theirs));
            } else {
                const QImage picture = Pixels(mine);
                EXPECT_FALSE(picture.isNull());
                EXPECT_TRUE(picture == Pixels(theirs));
                EXPECT_TRUE(picture == w->Picture().convertToFormat(QImage::Format_RGB32)); // as shown
            }
        }
        w->done(0);
    }
}

} // namespace
} // namespace vx
