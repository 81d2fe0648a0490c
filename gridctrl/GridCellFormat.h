#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QPainter;

// One question of a grid list to its owner: a cell's format (GRIDQ_FORMAT), the choices of a
// choice editor (GRIDQ_CHOICES), the commit of an edited text (GRIDQ_COMMIT) or extra drawing
// on a row (GRIDQ_ROWEXTRA). The owner fills in the answer fields and reports that it answered.
struct GridCellFormat {
    int nCode = 0;
    // The list's control id.
    int nCtrlId = 0;
    int nRow = 0;
    // Column id of the cell.
    int nColumn = 0;
    // The row's datum, as the owner stored it.
    quintptr nDatum = 0;
    // 128 for GRIDQ_CHOICES, else 0.
    int nReserved = 0;

    // Answer to GRIDQ_FORMAT: GRIDF_* bits and what they name.
    quint32 dwFlags = 0;
    QColor crText;
    QColor crBack;
    QFont font;

    // GRIDQ_COMMIT: the new text.
    QString strText;
    // GRIDQ_CHOICES: the owner appends the choices.
    QStringList *pChoices = nullptr;
    // GRIDQ_ROWEXTRA: where the owner may draw.
    QPainter *pPainter = nullptr;
    QRect rect;
};
