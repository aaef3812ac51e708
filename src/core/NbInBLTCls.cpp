#include "core/NbInBLTCls.h"

#include <stdexcept>

qint32 NbInBLTCls::Checked(qint32 index) const
{
    if (index < 0 || index >= count_)
        throw std::out_of_range("NbInBLTCls: entry out of range");
    return index;
}
