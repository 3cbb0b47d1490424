#include "gui/diagrams/picture_menu_form.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <string_view>

#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/sine_window.h"
#include "gui/diagrams/steam_window.h"
#include "gui/controls/picture_export_dialog.h"

namespace vx {
namespace {

// The diagram of a window as the command line names it, with the graphs the
// port events window shows.
PictureSource PictureOf(TDiagramWindow* w) {
    DiagramRequest request;
    std::string_view name;
    if (qobject_cast<TSineDia*>(w) != nullptr) name = "sine";
    else if (qobject_cast<TOvalDia*>(w) != nullptr) name = "oval";
    else if (qobject_cast<TSteamDia*>(w) != nullptr) name = "steam";
    else if (auto* port = qobject_cast<TPortDia*>(w)) {
        name = "ports";
        request.mode = port->Mode();
    }
    return DiagramPicture(w->PicturedState() != nullptr ? *w->PicturedState() : w->Model(), name, request);
}

} // namespace

void InstallPictureMenu(TDiagramWindow* window, QWidget* area, PictureExport* exporter) {
    if (window == nullptr || area == nullptr || exporter == nullptr) return;
    auto* menu = new QMenu(area);
    menu->setObjectName(QStringLiteral("PictureMenu"));
    QAction* exportPicture = menu->addAction(QStringLiteral("Export &Picture..."));
    exportPicture->setObjectName(QStringLiteral("ExportPicture"));
    QObject::connect(exportPicture, &QAction::triggered, window,
                     [window, exporter] { exporter->Export(window, PictureOf(window)); });
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(area, &QWidget::customContextMenuRequested, menu, [area, menu](const QPoint& at) {
        // The buttons and bars on the picture keep their own right click.
        if (area->childAt(at) != nullptr) return;
        menu->popup(area->mapToGlobal(at));
    });
}

} // namespace vx
