#include "core/BILETCls.h"

#include <stdexcept>

namespace
{

void CheckPosition(int index)
{
    if (index < 0 || index >= Loto::kNomeraPerBilet)
        throw std::out_of_range("BILETCls: position out of range");
}

} // namespace

void BILETCls::NomeraAdd(int index, qint32 value)
{
    CheckPosition(index);
    if (value < 0 || value > Loto::kMaxNomer)
        throw std::out_of_range("BILETCls: not a lottery number");
    Nomera[static_cast<std::size_t>(index)] = value;
}

qint32 BILETCls::NomeraList(int index) const
{
    CheckPosition(index);
    return Nomera[static_cast<std::size_t>(index)];
}
