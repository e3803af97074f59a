#include <QCoreApplication>

#include "sheet/render/sheet_command.h"

int main(int argc, char** argv) {
    // The window's settings (the lap-flag limits) under the window's names, as korimet-cli.
    QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
    QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
    return korimet::runSheetCommand(argc, argv);
}
