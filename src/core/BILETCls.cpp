#include "core/BILETCls.h"

#include <stdexcept>

void BILETCls::OutOfRange()
{
    throw std::out_of_range("BILETCls: position out of range");
}

void BILETCls::NomeraAdd(int index, qint32 value)
{
    if (index < 0 || index >= Loto::kNomeraPerBilet)
        OutOfRange();
    if (value < 0 || value > Loto::kMaxNomer)
        throw std::out_of_range("BILETCls: not a lottery number");
    Nomera[static_cast<std::size_t>(index)] = static_cast<quint8>(value);
}
