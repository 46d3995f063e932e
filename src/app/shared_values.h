#pragma once
// Values the whole program shares, set once before the first window is created.

#include <QString>

extern QString ProgramFolder; // folder of the running program file, ending in "/"
extern QString HelpFolder;    // ProgramFolder + "Hilfe/"
extern QString HelpFileName;  // the French help document's file name
extern QString VersionText;

// Sets the values from the full file name of the running program, for instance
// QCoreApplication::applicationFilePath(). The German base values are replaced by the
// French edition's at once.
void InitSharedValues(const QString& programFile);

// The help document's address as the info box opens it: "file://" + HelpFolder +
// HelpFileName, with the folder's characters unchanged.
QString HelpAddress();
