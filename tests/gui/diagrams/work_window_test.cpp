// The work window with real widgets: the cards of the listed positions on
// opening, a bar step followed at once (and coalesced), UnDo, Copy as CSV,
// and the settings: refused by name in their dialog, kept in the program's
// settings, used by the Balance window's work weight.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

#include <tuple>
#include <QTableWidget>
#include <QTimer>

#include "gui/diagrams/work_window.h"
#include "gui/editors/balance_events_dialog.h"
#include "gui/main/main_form.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "model/analysis/work_text.h"
#include "scene/diagrams/work_drawing.h"
#include "tests/gui/diagrams/diagram_window_fixture.h"
#include "tests/kit/decimal_comma_locale.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

class WorkWindowTest : public test::DiagramWindowFixture<TWorkDia> {
protected:
    // The program's settings in a folder of the test's own.
    static void SetUpTestSuite() {
        settingsDir = new test::TempDir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(settingsDir->File("")));
    }
    static void TearDownTestSuite() {
        delete settingsDir;
        settingsDir = nullptr;
    }
    void SetUp() override {
        SaveWorkSettings(WorkSettings{});
        test::DiagramWindowFixture<TWorkDia>::SetUp();
    }
    void AssignValveRod() {
        g.dynVarSlots[0] = {122, g.cyl.valveCtrToJoint(), "ValveCtrToJoint"};
        SelectDynVar(g);
        g.dynVarDisplay = g.undoDisplay = true;
    }
    float FrontMep(int i) const { return w->Table().list[static_cast<std::size_t>(i)].front.mep; }
    PositionWork Direct(int i) const {
        // The position of the list, from the exact solve's mid gear.
        const double at = PositionOnSolve(g, g.revArm.position[static_cast<std::size_t>(i + 1)], SolveMode::Exact);
        return ComputeWork(ComputeValveEvents(g, at), w->Settings(), WorkDimensionsOf(g));
    }
    // Types into the settings dialog once it is up, and presses OK.
    static void TypeSettings(const char* box, const char* text, QString* message = nullptr) {
        QTimer::singleShot(0, [=] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->findChild<QLineEdit*>(box)->setText(QString::fromUtf8(text));
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            if (message) {
                *message = d->findChild<QLabel*>("WorkSettingsMessage")->text();
                if (d->isVisible()) d->reject();
            }
        });
    }
    static test::TempDir* settingsDir;
};
test::TempDir* WorkWindowTest::settingsDir = nullptr;

TEST_F(WorkWindowTest, OpensOnThePositionsListWithTheCards) {
    Open();
    EXPECT_EQ(timerCalls, std::vector<bool>{false});
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(w->DrawCount(), 1);
    EXPECT_EQ(w->windowTitle(), "Work: Indicator Cards");
    ASSERT_EQ(w->Table().List().size(), 3u); // mid gear, full forward, full reverse
    const PositionWork direct = Direct(1);
    EXPECT_EQ(FrontMep(1), direct.front.mep);
    EXPECT_EQ(w->Table().list[1].rear.mep, direct.rear.mep);
    EXPECT_EQ(w->Picture().size(), QSize(kWorkWindowWidth, kWorkWindowHeight));
    for (const char* name : {"SetRevArmPos", "WorkSettings", "CopyWork", "ReDraw", "DynVari"})
        EXPECT_NE(w->findChild<QAction*>(name), nullptr) << name;
    EXPECT_EQ(g.motion.reverseArmPosition, g.revArm.centre); // the model's motion untouched
}

TEST_F(WorkWindowTest, ABarStepUpdatesTheCardsOnceAndUnDoRestoresThem) {
    AssignValveRod();
    Open();
    const float before = FrontMep(1);
    const QImage pictureBefore = w->Picture().copy();
    QScrollBar* bar1 = Get<QScrollBar>("SBDynVarW1");
    ASSERT_TRUE(bar1->isVisible());
    const int draws = w->DrawCount();
    bar1->setValue(10);
    bar1->setValue(10);
    EXPECT_EQ(w->DrawCount(), draws); // coalesced: one redraw for both
    QApplication::processEvents();
    EXPECT_EQ(w->DrawCount(), draws + 1);
    EXPECT_EQ(FrontMep(1), Direct(1).front.mep);
    EXPECT_NE(FrontMep(1), before);
    EXPECT_NE(w->Picture(), pictureBefore);

    const float entered = FrontMep(1);
    bar1->setFocus();
    QApplication::processEvents();
    QTest::keyClick(bar1, Qt::Key_PageDown);
    QApplication::processEvents();
    ASSERT_NE(FrontMep(1), entered);
    QPushButton* undo = Get<QPushButton>("UnDoDnW");
    ASSERT_TRUE(undo->isEnabled());
    while (g.undo[1].id > 0) QTest::mouseClick(undo, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(FrontMep(1), entered);
}

TEST_F(WorkWindowTest, CopyPutsTheTableOnTheClipboardAsCsv) {
    Open();
    QApplication::clipboard()->clear();
    Trigger("CopyWork");
    const std::string text = QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(text, w->Csv());
    EXPECT_EQ(text.rfind(kWorkCsvHeader, 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 2 * 3);
}

TEST_F(WorkWindowTest, SettingsAreRefusedByNameKeptAndReadBack) {
    Open();
    const float mep = FrontMep(1);
    // Refused: the dialog stays open and names the setting; nothing changes.
    struct Row {
        const char* box;
        const char* text;
        const char* says;
    };
    const Row kRows[] = {
        {"AdmissionPressure", "10", "admission pressure"}, {"BackPressure", "-2", "back pressure"},
        {"Clearance", "-0.1", "clearance"},               {"Exponent", "0", "exponent"},
        {"Exponent", "nan", "exponent"},                  {"Cylinders", "0", "cylinders"},
        {"AdmissionPressure", "abc", "Not a number"},
    };
    for (const Row& r : kRows) {
        QString message;
        TypeSettings(r.box, r.text, &message);
        Trigger("WorkSettings");
        EXPECT_TRUE(message.contains(QString::fromUtf8(r.says))) << r.box << ": " << message.toStdString();
        EXPECT_EQ(w->Settings().admissionPressure, 200.0f);
        EXPECT_EQ(FrontMep(1), mep);
    }
    EXPECT_NE(w->SetSettings([] { WorkSettings s; s.exponent = -1; return s; }()), "");

    // Taken: redrawn with them, and kept for the next start.
    const int draws = w->DrawCount();
    TypeSettings("AdmissionPressure", "250");
    Trigger("WorkSettings");
    EXPECT_EQ(w->Settings().admissionPressure, 250.0f);
    EXPECT_GT(w->DrawCount(), draws);
    EXPECT_GT(FrontMep(1), mep);
    EXPECT_EQ(LoadWorkSettings().admissionPressure, 250.0f);
    EXPECT_EQ(LoadWorkSettings().clearance, 0.08f);

    // A settings file edited by hand into nonsense gives the defaults.
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vexlin"), QStringLiteral("Vexlin"))
        .setValue(QStringLiteral("work/backPressure"), QStringLiteral("9999"));
    EXPECT_EQ(LoadWorkSettings().admissionPressure, 200.0f);
}

// The settings' boxes follow the one rule of every box: a point shown
// whatever the locale, a comma typed is the decimal point.
TEST_F(WorkWindowTest, SettingsShowAPointAndTakeACommaUnderAnyLocale) {
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << test::DecimalCommaLocale::kWhy;
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Open();
    QString clearance;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        clearance = d->findChild<QLineEdit*>("Clearance")->text();
        d->findChild<QLineEdit*>("Exponent")->setText(QStringLiteral("1,3"));
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        if (d->isVisible()) d->reject();
    });
    Trigger("WorkSettings");
    QLocale::setDefault(saved);
    EXPECT_EQ(clearance, "0.08");
    EXPECT_FLOAT_EQ(w->Settings().exponent, 1.3f);
}

// On the main window: DrawGraphs > Work is there, and the Balance window's
// work weight alone squares the cards' MEP front against rear.
TEST(WorkOnTheMainWindow, TheMenuItemAndTheBalanceWorkWeight) {
    TMainForm form;
    form.show();
    EXPECT_NE(form.findChild<QAction*>(QStringLiteral("Work")), nullptr);
    EXPECT_NE(form.findChild<TWorkDia*>(QStringLiteral("WorkDia")), nullptr);
    auto* dialog = form.findChild<TBalanceEvents*>(QStringLiteral("BalanceEvents"));
    ASSERT_NE(dialog, nullptr);
    dialog->show();
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("Dimensions"));
    for (const auto& [field, lo, hi] : {std::tuple{"valveCtrToJoint", "3.603", "3.803"},
                                        std::tuple{"eccFwdRod", "7.15", "7.35"},
                                        std::tuple{"radRodTotalLength", "5.0", "5.2"},
                                        std::tuple{"exLinkEccRodBackSet", "-0.1", "0.1"}}) {
        const int row = dialog->DimensionRow(FindDimensionByField(field)->id);
        ASSERT_GE(row, 0);
        table->item(row, 0)->setCheckState(Qt::Checked);
        table->item(row, 2)->setText(QString::fromUtf8(lo));
        table->item(row, 3)->setText(QString::fromUtf8(hi));
    }
    const auto set = [&](const char* name, const char* text) {
        auto* box = dialog->findChild<QLineEdit*>(QString::fromUtf8(name));
        ASSERT_NE(box, nullptr) << name;
        box->setText(QString::fromUtf8(text));
    };
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("WorkWeight"))->text(), QStringLiteral("0"));
    set("CutOffWeight", "0");
    set("LeadWeight", "0");
    set("WorkWeight", "1");
    set("Evaluations", "60");
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Run")), Qt::LeftButton);
    for (int i = 0; i < 12000 && dialog->Running(); ++i) QTest::qWait(10);
    ASSERT_FALSE(dialog->Running());
    ASSERT_TRUE(dialog->Result());
    const BalanceResult r = *dialog->Result();
    EXPECT_LT(r.after.worstMepDifference, 0.5 * r.before.worstMepDifference);
    EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("Summary"))->text().contains(
        QStringLiteral("worst MEP difference")));
    dialog->reject();
}

} // namespace
} // namespace vx
