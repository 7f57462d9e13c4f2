#include "AccessError.h"

namespace tolven {

AccessError::AccessError(ErrorNumber number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(m_description.toUtf8())
{
}

} // namespace tolven
