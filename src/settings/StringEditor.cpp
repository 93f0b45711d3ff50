// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringEditor.h"

#include "FileList.h"
#include "FileOps.h"
#include "Prompt.h"
#include "StringFile.h"
#include "Text8.h"

#include <QDir>
#include <QtEndian>

StringEditor::StringEditor(const QString &gameFolder, Prompt &prompt)
    : gameFolder_(gameFolder), prompt_(prompt) {}

QString StringEditor::character(quint8 byte) {
    if (byte == 0)
        return {};
    if (byte < 0x20)
        return QString(QChar(0x2400 + byte));
    return Text8::toUnicode(QByteArray(1, char(byte)));
}

bool StringEditor::loaded() {
    if (!path_.isEmpty())
        return true;
    prompt_.fail(QStringLiteral("Load the string file first: \"Load, read and display an "
                                "existing stringfile\"."));
    return false;
}

bool StringEditor::write(const QByteArray &bytes) {
    // The file may have been replaced since Load under another case of its name: writing
    // under the loaded name would then make a second pnames.str beside it.
    const QString present = FileList::find(gameFolder_, QStringLiteral("pnames.str"));
    if (!present.isEmpty() && FileList::join(gameFolder_, present) != path_) {
        prompt_.fail(QStringLiteral("\"%1\" was not written: the game folder now holds \"%2\" "
                                    "in its place. Load the string file again first.")
                         .arg(QDir::toNativeSeparators(path_), present));
        return false;
    }
    QString error;
    if (FileOps::writeAtomic(path_, bytes, &error))
        return true;
    prompt_.fail(error);
    return false;
}

bool StringEditor::Command1() {
    // A failed Load leaves nothing shown: what was shown before is no longer what the file
    // holds, and Save or Make must not write it back.
    path_.clear();
    SFG1.clear();
    SFG2.clear();
    SFG2Row = -1;
    LeftCol = 0;
    const QString name = FileList::find(gameFolder_, QStringLiteral("pnames.str"));
    if (name.isEmpty()) {
        prompt_.fail(QStringLiteral("The game folder \"%1\" has no pnames.str to load.")
                         .arg(QDir::toNativeSeparators(gameFolder_)));
        return false;
    }
    const QString file = FileList::join(gameFolder_, name);
    QList<QByteArray> strings;
    QByteArray raw;
    QString error;
    if (!StringFile::ReadStringFile(file, &strings, &raw, &error)) {
        prompt_.fail(error);
        return false;
    }
    path_ = file;
    SFG1 = raw;
    ColumnWidth = LoadColumnWidth;
    LeftCol = qFromLittleEndian<quint16>(raw.constData() + 8) + 8;
    SFG2 = strings;
    SFG2Row = SFG2.isEmpty() ? -1 : 0;
    return true;
}

bool StringEditor::Command5() {
    if (!loaded())
        return false;
    QByteArray bytes;
    QString reason;
    if (!StringFile::build(SFG2, &bytes, &reason)) {
        prompt_.fail(QStringLiteral("Could not make \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(path_), reason));
        return false;
    }
    SFG1 = bytes;
    ColumnWidth = MakeColumnWidth;
    return write(bytes);
}

bool StringEditor::Command9() {
    if (SFG2Row < 0 || SFG2Row >= SFG2.size())
        return false;
    if (!refusedText_.isEmpty()) {
        prompt_.fail(QStringLiteral("Could not replace string %1: the text holds %2. Nothing "
                                    "was changed; type the text with characters the game's "
                                    "string files can hold.")
                         .arg(SFG2Row)
                         .arg(refusedText_));
        return false;
    }
    SFG2[SFG2Row] = SRText;
    return true;
}

void StringEditor::rightClick(int row) {
    if (row < 0 || row >= SFG2.size())
        return;
    SFG2Row = row;
    SRText = SFG2.at(row);
    refusedText_.clear();
}

void StringEditor::setText(const QString &text) {
    SRText = Text8::fromUnicode(text);
    refusedText_ = Text8::foreignPhrase(text);
}

bool StringEditor::keyPress(int column, int key) {
    if (column < 0 || column >= SFG1.size() || key < 0 || key > 255 || !loaded())
        return false;
    const char value = key == 13 || key == 8 ? '\0' : char(key);
    // Only this byte changes in the file, even when it differs from the view elsewhere.
    QByteArray bytes;
    QString error;
    if (!FileOps::readAll(path_, &bytes, &error)) {
        prompt_.fail(error);
        return false;
    }
    if (column >= bytes.size()) {
        prompt_.fail(QStringLiteral("Could not write to \"%1\": it holds %2 bytes, too few for "
                                    "byte position %3.")
                         .arg(QDir::toNativeSeparators(path_))
                         .arg(bytes.size())
                         .arg(column + 1));
        return false;
    }
    bytes[column] = value;
    if (!write(bytes))
        return false;
    SFG1[column] = value;
    return true;
}

bool StringEditor::Command3() {
    return loaded() && write(SFG1);
}
