#include "error.h"

// Made out of line, so that the return address is in the function that
// raises the error.
__attribute__((noinline)) NuvaloraError::NuvaloraError(QString message)
    : m_message(std::move(message)), m_what(m_message.toUtf8()),
      m_raisedAt(__builtin_return_address(0))
{
}
