#include "DbError.h"

#include <ibase.h>
#include <iberror.h>

DbError::DbError(const QString &text, long sqlCode, long engineCode)
    : std::runtime_error(text.toStdString()), m_text(text), m_sqlCode(sqlCode),
      m_engineCode(engineCode)
{
}

bool DbError::isLockConflict() const
{
    return m_engineCode == isc_lock_conflict || m_engineCode == isc_update_conflict ||
           m_engineCode == isc_deadlock;
}
