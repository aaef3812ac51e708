#pragma once

#include <QtGlobal>

// One entry of the number index: a ticket and the row of it that carries the number.
struct BiletDataCls {
    // Index of the ticket in the store.
    qint32 NomerBileta = 0;
    // Row 0..5 of that ticket holding the number.
    qint32 Stroka = 0;
};
