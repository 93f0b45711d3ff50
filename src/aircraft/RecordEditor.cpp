// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordEditor.h"

#include "FileList.h"
#include "FileOps.h"
#include "PlanesDat.h"
#include "Prompt.h"

#include <QDir>

const QStringList RecordEditor::AircraftNames = {
    QStringLiteral("P-38H"),       QStringLiteral("P-38J"),   QStringLiteral("P-47C"),
    QStringLiteral("P-47D"),       QStringLiteral("P-51B"),   QStringLiteral("P51-D"),
    QStringLiteral("B-17F"),       QStringLiteral("B-24D"),   QStringLiteral("B-26B"),
    QStringLiteral("Hurricane"),   QStringLiteral("Spit Ia"), QStringLiteral("Spit IX"),
    QStringLiteral("Spit 14"),     QStringLiteral("Typhoon"), QStringLiteral("Tempest"),
    QStringLiteral("Mosquito"),    QStringLiteral("Bf 109E"), QStringLiteral("Bf 109G"),
    QStringLiteral("Bf 109K"),     QStringLiteral("Bf 110C"), QStringLiteral("Bf 110G"),
    QStringLiteral("Me-410"),      QStringLiteral("Fw 190A"), QStringLiteral("Fw 190D"),
    QStringLiteral("Me 262"),      QStringLiteral("Ju-88A"),  QStringLiteral("Ju-88C"),
    QStringLiteral("Ju-87 Stuka"), QStringLiteral("He-111"),  QStringLiteral("V1 Doodlebug"),
};

RecordEditor::RecordEditor(const QString &gameFolder, Prompt &prompt)
    : gameFolder_(gameFolder), prompt_(prompt) {}

QString RecordEditor::path() const {
    return FileList::resolve(gameFolder_, QStringLiteral("planes.dat"));
}

void RecordEditor::clear() {
    Loaded = false;
    ReadOnly = false;
    rows.clear();
    Check1 = {};
    Check2 = {};
}

bool RecordEditor::showSlot(int slot) {
    // Setting the boxes from the file must not count as clicks.
    clear();
    if (!PlanesDat::validSlot(slot))
        return false;
    List1Index = slot;
    SpanBase = PlanesDat::spanBase(slot);
    const QString file = path();
    QList<PlanesDat::PlaneByte> span;
    QString error;
    if (!PlanesDat::readSpan(file, slot, &span, &error)) {
        prompt_.fail(QStringLiteral("%1 The record of %2 cannot be shown or edited.")
                         .arg(error, AircraftNames.at(slot)));
        return false;
    }
    for (const PlanesDat::PlaneByte &b : span)
        rows.append({b.first, b.second, b.second});
    Check1 = PlanesDat::flagBits(quint8(rows.at(TypeRow - 1).current));
    Check2 = PlanesDat::flagBits(quint8(rows.at(NationRow - 1).current));
    ReadOnly = FileOps::isReadOnly(file);
    if (ReadOnly)
        prompt_.fail(QStringLiteral("\"%1\" is read-only: the record of %2 is shown, but the "
                                    "flag boxes cannot change it.")
                         .arg(QDir::toNativeSeparators(file), AircraftNames.at(slot)));
    Loaded = true;
    return true;
}

bool RecordEditor::clickCheck(int group, int bit, bool ticked) {
    if (!Loaded || ReadOnly || (group != 1 && group != 2) || bit < 0 || bit > 7)
        return false;
    // The record may have changed since it was shown (a slot swap in the main window writes
    // the whole record): the click changes the record as the file holds it now, so no byte
    // shown earlier is ever written back over a newer one.
    const int slot = List1Index;
    const QString file = path();
    QList<PlanesDat::PlaneByte> span;
    QString error;
    if (!PlanesDat::readSpan(file, slot, &span, &error)) {
        prompt_.fail(QStringLiteral("%1 The record of %2 was not changed.")
                         .arg(error, AircraftNames.at(slot)));
        clear();
        return false;
    }
    const int row = (group == 1 ? TypeRow : NationRow) - 1;
    std::array<bool, 8> bits = PlanesDat::flagBits(span.at(row).second);
    bits[bit] = ticked;
    // The pairs the game cannot show together: a new tick clears its partner.
    const int first = group == 1 ? 4 : 5;
    if (ticked && (bit == first || bit == first + 1))
        bits[bit == first ? first + 1 : first] = false;
    const int value = PlanesDat::flagByte(bits);
    (group == 1 ? F1 : F2) = QString::number(value);
    span[row].second = quint8(value);

    const bool saved = PlanesDat::writeBytes(file, span, &error);
    if (!saved)
        prompt_.fail(error);
    // The grid and the boxes show what the file holds now, written or not.
    const QString f1 = F1, f2 = F2;
    showSlot(slot);
    F1 = f1;
    F2 = f2;
    return saved;
}
