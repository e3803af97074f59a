#include "sheet/render/sheet_command.h"

int main(int argc, char** argv) { return korimet::runSheetCommand(argc, argv); }
