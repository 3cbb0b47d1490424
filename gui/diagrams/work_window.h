// TWorkDia: the work window, a member of the diagram windows' family (menu,
// "Close", the four dynamic-variable bars, "UnDo", "ReDraw", the positions
// dialog on opening). Its picture is the ideal indicator cards of the
// listed reverse arm positions, the economy curve of the nine notches and
// the table of MEP front and rear, steam and tractive effort; a bar step
// recomputes it (bar moves coalesced by the family). "Copy" puts the table
// on the clipboard as CSV; "SetUp > Work Settings..." sets the pressures,
// clearance, exponent and cylinders, kept in the program's settings.
#pragma once

#include <memory>
#include <string>

#include "gui/diagrams/diagram_window.h"
#include "model/analysis/work.h"

namespace vx {

// The work settings as the program's settings keep them: the defaults for
// any missing, and all of them when together they are refused.
WorkSettings LoadWorkSettings();
void SaveWorkSettings(const WorkSettings& s);

class TWorkDia final : public TDiagramWindow {
    Q_OBJECT

public:
    explicit TWorkDia(const DiagramHost& host, QWidget* parent = nullptr);
    ~TWorkDia() override;

    const WorkSettings& Settings() const { return settings_; }
    // Takes sound settings (kept, and the picture redrawn) and returns "";
    // refuses others, with the reason, and keeps the old ones.
    std::string SetSettings(const WorkSettings& s);
    // The figures as last computed.
    const WorkTable& Table() const { return *table_; }
    // The table as CSV, as Copy puts it on the clipboard.
    std::string Csv() const;

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;
    void RunMenuCommand(MenuCommand c) override;
    void GestureRedraw() override;

private:
    void Recompute();
    void CopyTable();
    void AskSettings();

    WorkSettings settings_;
    GearState work_; // the scratch copy the events are solved on
    std::unique_ptr<WorkTable> table_;
};

} // namespace vx
