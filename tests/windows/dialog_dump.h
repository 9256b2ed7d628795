// Where the dialog test writes the controls Windows built ("" for nowhere).
#ifndef MIROVA_WINDOWS_DIALOG_DUMP_H
#define MIROVA_WINDOWS_DIALOG_DUMP_H
#include <string>

std::string& DialogDumpPath();

#endif
