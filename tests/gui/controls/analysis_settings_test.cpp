// The analyses' settings of the windows: the exact solve and no unit until
// set, the dialog showing, storing and reading back each choice (and
// Cancel storing nothing), stored values it does not know read as the
// defaults, the menu item that opens it, and the unit in the titles of the
// editors and the analysis windows.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "gui/controls/analysis_settings.h"
#include "gui/editors/cylinder_dimensions_dialog.h"
#include "gui/editors/frame_dimensions_dialog.h"
#include "gui/main/main_form.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/temp_dir.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class AnalysisSettingsTest : public test::StartedGear {
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
        StartedGear::SetUp();
        QSettings q = ProgramSettings();
        q.remove(QStringLiteral("analysis"));
        q.sync();
    }
    static QString Stored(const char* key) { return ProgramSettings().value(QString::fromUtf8(key)).toString(); }
    static void Store(const char* key, const QString& value) {
        QSettings q = ProgramSettings();
        q.setValue(QString::fromUtf8(key), value);
        q.sync();
    }
    static inline test::TempDir* settingsDir = nullptr;
};

TEST_F(AnalysisSettingsTest, TheExactSolveAndNoUnitUntilSet) {
    EXPECT_EQ(LoadAnalysisSettings(), AnalysisSettings{});
    EXPECT_EQ(LoadAnalysisSettings().solve, SolveMode::Exact);
    EXPECT_EQ(LoadAnalysisSettings().unit, LengthUnit::None);
    AnalysisSettingsDialog d;
    EXPECT_EQ(d.Chosen(), AnalysisSettings{});
    EXPECT_EQ(test::Child<QComboBox>(d, "AnalysisSolve")->count(), 2);
    EXPECT_EQ(test::Child<QComboBox>(d, "AnalysisUnit")->count(), 3);
}

TEST_F(AnalysisSettingsTest, TheDialogStoresEachChoiceAndShowsItAgain) {
    const struct {
        int solve, unit;
        AnalysisSettings expected;
        const char* solveText;
        const char* unitText;
    } cases[] = {
        {1, 2, {SolveMode::Classic, LengthUnit::Millimetre}, "classic", "mm"},
        {0, 1, {SolveMode::Exact, LengthUnit::Inch}, "exact", "in"},
        {1, 0, {SolveMode::Classic, LengthUnit::None}, "classic", "none"},
        {0, 0, {SolveMode::Exact, LengthUnit::None}, "exact", "none"},
    };
    for (const auto& c : cases) {
        AnalysisSettingsDialog d;
        d.show();
        test::Child<QComboBox>(d, "AnalysisSolve")->setCurrentIndex(c.solve);
        test::Child<QComboBox>(d, "AnalysisUnit")->setCurrentIndex(c.unit);
        QTest::mouseClick(test::Child<QDialogButtonBox>(d, "AnalysisSettingsButtons")->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(Stored("analysis/solve"), QString::fromUtf8(c.solveText));
        EXPECT_EQ(Stored("analysis/unit"), QString::fromUtf8(c.unitText));
        EXPECT_EQ(LoadAnalysisSettings(), c.expected);
        AnalysisSettingsDialog again;
        EXPECT_EQ(again.Chosen(), c.expected);
    }
    // Cancel keeps what was stored.
    AnalysisSettingsDialog d;
    d.show();
    test::Child<QComboBox>(d, "AnalysisSolve")->setCurrentIndex(1);
    test::Child<QComboBox>(d, "AnalysisUnit")->setCurrentIndex(2);
    QTest::mouseClick(test::Child<QDialogButtonBox>(d, "AnalysisSettingsButtons")->button(QDialogButtonBox::Cancel),
                      Qt::LeftButton);
    EXPECT_EQ(LoadAnalysisSettings(), AnalysisSettings{});
}

TEST_F(AnalysisSettingsTest, StoredValuesNotUnderstoodAreTheDefaults) {
    for (const char* bad : {"", "Exact", "CLASSIC", "1", "inch", "MM", "exact "}) {
        Store("analysis/solve", QString::fromUtf8(bad));
        Store("analysis/unit", QString::fromUtf8(bad));
        EXPECT_EQ(LoadAnalysisSettings(), AnalysisSettings{}) << '"' << bad << '"';
    }
    Store("analysis/solve", QStringLiteral("classic"));
    Store("analysis/unit", QStringLiteral("cm"));
    EXPECT_EQ(LoadAnalysisSettings(), (AnalysisSettings{SolveMode::Classic, LengthUnit::None}));
}

TEST_F(AnalysisSettingsTest, TheSetUpMenuOpensTheDialog) {
    TMainForm form;
    form.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<AnalysisSettingsDialog*>(QApplication::activeModalWidget());
        if (d == nullptr) return;
        seen = true;
        test::Child<QComboBox>(*d, "AnalysisUnit")->setCurrentIndex(2);
        d->accept();
    });
    test::Child<QAction>(form, "AnalysisSettings")->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(LoadAnalysisSettings().unit, LengthUnit::Millimetre);
}

TEST_F(AnalysisSettingsTest, TheUnitLabelsTheEditorsTitles) {
    EXPECT_EQ(TitleWithUnit(QStringLiteral("Valve Events"), LengthUnit::None), QStringLiteral("Valve Events"));
    EXPECT_EQ(TitleWithUnit(QStringLiteral("Valve Events"), LengthUnit::Millimetre),
              QStringLiteral("Valve Events (mm)"));
    EXPECT_EQ(TitleWithUnit(QStringLiteral("Tolerance"), LengthUnit::Inch), QStringLiteral("Tolerance (in)"));

    TFrameDi frame(g, {});
    TCylDimen cylinder(g, {});
    for (DimensionEditor* editor : {static_cast<DimensionEditor*>(&frame), static_cast<DimensionEditor*>(&cylinder)}) {
        editor->show();
        const QString plain = editor->windowTitle();
        EXPECT_FALSE(plain.isEmpty());
        EXPECT_FALSE(plain.endsWith(QStringLiteral(")")));
        editor->hide();
        SaveAnalysisSettings({SolveMode::Exact, LengthUnit::Millimetre});
        editor->show();
        EXPECT_EQ(editor->windowTitle(), plain + QStringLiteral(" (mm)"));
        editor->hide();
        SaveAnalysisSettings({});
        editor->show();
        EXPECT_EQ(editor->windowTitle(), plain);
        editor->hide();
    }
}

} // namespace
} // namespace vx
