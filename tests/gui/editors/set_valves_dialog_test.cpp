// The Set the Valves window driven through its real controls on the main
// window: measurements pasted into the table, a bad row named, Fit with
// its progress and results, Cancel, "Apply fitted" and "Apply corrections"
// writing the design as the editors do, and the main window's UnDo walking
// them back.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "gui/editors/set_valves_dialog.h"
#include "gui/main/main_form.h"
#include "model/gear/dimensions.h"
#include "model/workspace/undo_redo.h"

namespace vx {
namespace {

// The default design built with its valve rod 0.03 long: cut-off and lead
// at full and half forward gear, as a fitter measures them.
constexpr const char* kMeasured =
    "offset,direction,end,event,value,unit,weight,note\n"
    "-1,forward,front,cutOff,63.2391,percent,,\n"
    "-1,forward,rear,cutOff,74.5239,percent,,\n"
    "-1,forward,front,lead,-0.02226,length,,feeler\n"
    "-1,forward,rear,lead,0.06485,length,,feeler\n"
    "-0.5,forward,front,cutOff,31.5841,percent,,\n"
    "-0.5,forward,rear,cutOff,42.7443,percent,,\n";

class SetValvesTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_NE(dialog, nullptr);
        dialog->show();
    }
    void TearDown() override { dialog->reject(); }

    template <class T>
    T* Get(const char* name) {
        T* w = dialog->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
    // Ticks only these fields in a list.
    void TickOnly(const char* list, std::initializer_list<const char*> fields) {
        auto* l = Get<QListWidget>(list);
        for (int i = 0; i < l->count(); ++i) {
            bool on = false;
            for (const char* f : fields) on = on || l->item(i)->text() == QString::fromUtf8(f);
            l->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    }
    bool WaitFor(const std::function<bool()>& done, int ms = 240000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            QTest::qWait(10);
        }
        return true;
    }
    float Value(const char* field) { return DimensionValue(form.Model(), *FindDimensionByField(field)); }

    TMainForm form;
    TSetValves* dialog = form.findChild<TSetValves*>(QStringLiteral("SetValves"));
};

TEST_F(SetValvesTest, TheMenuItemOpensTheWindowWithTheDefaultTicks) {
    auto* item = form.findChild<QAction*>(QStringLiteral("SetValves"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Set the &Valves..."));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Set the Valves"));
    int ticked = 0;
    auto* vary = Get<QListWidget>("Vary");
    for (int i = 0; i < vary->count(); ++i) ticked += vary->item(i)->checkState() == Qt::Checked;
    EXPECT_EQ(ticked, 7);
    EXPECT_FALSE(Get<QPushButton>("ApplyFitted")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("Cancel")->isEnabled());
}

TEST_F(SetValvesTest, PastedRowsFillTheTableAndABadRowIsNamedByItsLine) {
    QApplication::clipboard()->setText(QString::fromUtf8(kMeasured));
    Click("Paste");
    auto* table = Get<QTableWidget>("Measurements");
    ASSERT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->item(2, 3)->text(), QStringLiteral("lead"));
    EXPECT_EQ(table->item(2, 7)->text(), QStringLiteral("feeler"));
    EXPECT_EQ(table->verticalHeaderItem(0)->text(), QStringLiteral("2"));
    // Tab-separated rows without the header, as a spreadsheet copies them.
    ASSERT_TRUE(dialog->SetTableText("-1\tforward\tfront\tcutOff\t63.1\tpercent\n"));
    EXPECT_EQ(table->rowCount(), 1);
    table->item(0, 3)->setText(QStringLiteral("cutof"));
    Click("Fit");
    EXPECT_FALSE(dialog->Running());
    EXPECT_TRUE(dialog->Summary().contains(QStringLiteral("line 2: unknown event \"cutof\""))) << dialog->Summary().toStdString();
    table->item(0, 3)->setText(QStringLiteral("cutOff"));
    Click("Fit"); // one measurement for seven dimensions
    EXPECT_FALSE(dialog->Running());
    EXPECT_TRUE(dialog->Summary().contains(QStringLiteral("only 1 measurement for 7 varied dimensions")))
        << dialog->Summary().toStdString();
}

TEST_F(SetValvesTest, FitShowsTheResultsAndTheApplyButtonsWriteTheDesignAsTheEditorsDo) {
    ASSERT_TRUE(dialog->SetTableText(kMeasured));
    TickOnly("Vary", {"valveCtrToJoint"});
    TickOnly("Adjust", {"valveCtrToJoint"});
    const auto before = std::make_unique<GearState>(form.Model());
    Click("Fit");
    EXPECT_TRUE(dialog->Running());
    EXPECT_TRUE(Get<QPushButton>("Cancel")->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running() && dialog->Outcome().has_value(); }));
    const QString text = dialog->ResultsText();
    EXPECT_TRUE(text.contains(QStringLiteral("Fit of 1 dimensions to 6 measurements"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Residuals, largest first"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Valve Stem (valveCtrToJoint) by"))) << text.toStdString();
    const FittedDimension& d = dialog->Outcome()->fit.dims.at(0);
    EXPECT_NEAR(d.change, 0.03, 0.002);
    // The design is untouched until Apply.
    EXPECT_EQ(Value("valveCtrToJoint"), 3.703f);
    ASSERT_TRUE(Get<QPushButton>("ApplyFitted")->isEnabled());
    Click("ApplyFitted");
    EXPECT_EQ(Value("valveCtrToJoint"), d.fitted);
    EXPECT_FALSE(Get<QPushButton>("ApplyFitted")->isEnabled());
    // The corrections go onto the fitted engine now in the design.
    ASSERT_TRUE(Get<QPushButton>("ApplyCorrections")->isEnabled());
    Click("ApplyCorrections");
    const BalanceChange& c = dialog->Outcome()->corrections->changes.at(0);
    EXPECT_EQ(Value("valveCtrToJoint"), c.after);
    EXPECT_FALSE(Get<QPushButton>("ApplyCorrections")->isEnabled());
    // UnDo walks both back, to the design as it was.
    while (UndoChange(form.Model())) {
    }
    EXPECT_EQ(Value("valveCtrToJoint"), 3.703f);
    EXPECT_EQ(form.Model().revArm.centre, before->revArm.centre);
}

TEST_F(SetValvesTest, CancelStopsTheFitKeepingTheBestPointSoFar) {
    ASSERT_TRUE(dialog->SetTableText(kMeasured));
    TickOnly("Vary", {"valveCtrToJoint", "eccFwdRod", "eccRevRod", "eccFwdAngle", "eccRevAngle"});
    Click("Fit");
    ASSERT_TRUE(dialog->Running());
    Click("Cancel");
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
    ASSERT_TRUE(dialog->Outcome().has_value());
    EXPECT_TRUE(dialog->Outcome()->fit.cancelled);
    EXPECT_FALSE(dialog->Outcome()->corrections.has_value());
    EXPECT_TRUE(dialog->ResultsText().contains(QStringLiteral("cancelled")));
}

} // namespace
} // namespace vx
