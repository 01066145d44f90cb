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

bool DbError::isConnectionLost() const
{
    switch (m_engineCode) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_att_shutdown:
    case isc_shutdown:
    case isc_bad_db_handle:
        return true;
    default:
        return false;
    }
}
