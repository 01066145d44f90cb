#include "AppError.h"

AppError::AppError(QString message, QString detail)
    : m_message(std::move(message)), m_detail(std::move(detail)), m_utf8(m_message.toStdString())
{
}
