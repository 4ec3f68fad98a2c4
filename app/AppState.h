#pragma once

#include "convert/G90G91Memory.h"
#include "machine/ConversionTable.h"
#include "search/SearchState.h"

#include <QString>

// Everything that lives as long as the application: owned by the main window and handed to the dialogs.
struct AppState
{
    QString UndoText;
    SearchState Search;
    ConversionTable Table;
    QString MachinePath;
    QString MachineFileName;
    G90G91Memory G90G91;
};
