#pragma once
// The text of a registry export file ("Windows Registry Editor Version 5.00"): a person can
// read it and Windows can import it. Values are written as dword:0000000c, hex:00,04,..
// or hex(N):.. for other types.

#include "platform/settings_store.h"

struct RegFileKey {
    bool found = false;       // the file has a section for the key
    QList<NamedValue> values; // in file order
};

// The values of the section [HKEY_CURRENT_USER\<keyPath>]. The file is read line by line and
// whatever is well formed is taken: a damaged, truncated or foreign file yields the values
// that can be read, never more than the text states (a dword needs all 8 digits, every byte
// both of its digits). Values under other keys are ignored; a later value of the same name
// replaces an earlier one, as an import would. Text without the export header yields nothing.
RegFileKey parseRegFile(const QByteArray& bytes, const QString& keyPath);

// The whole file for one key holding `values`, in their order, with Windows line ends.
QByteArray formatRegFile(const QString& keyPath, const QList<NamedValue>& values);
