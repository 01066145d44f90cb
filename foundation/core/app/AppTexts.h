#pragma once

// Texts of the start-up glue shown to users.

inline constexpr const char *kDatabaseConnectError = "Database Connect Error";
