#pragma once

class Database;
class DBEdit;

// LookupItemByCode for a data-aware edit bound to the slip's result set.
void LookupItemByCode(Database &mainConnection, DBEdit &field);
