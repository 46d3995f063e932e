#pragma once
// The window library's own texts (the file dialog's buttons and its overwrite question, an edit
// field's context menu) in the user's language, as the desktop's own dialogs would be. The
// texts the program sets itself ("Fehler", "OK", the French captions) do not change.

class QCoreApplication;
class QLocale;
class QTranslator;

// Installs Qt's translations for `locale` when Qt ships them and returns them (owned by
// `app`); nullptr when Qt has none for it.
QTranslator* UseLibraryTextsIn(const QLocale& locale, QCoreApplication& app);
