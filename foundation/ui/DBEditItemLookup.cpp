#include "DBEditItemLookup.h"

#include "DBEdit.h"
#include "db/EditableResultSet.h"
#include "masters/MasterData.h"
#include "totals/ResultSetSlipRecord.h"

namespace {

class DBEditField : public ItemCodeField
{
public:
    explicit DBEditField(DBEdit &edit) : m_edit(edit) {}
    int tag() const override { return m_edit.tag(); }
    QString text() const override { return m_edit.text(); }
    bool changed() const override { return m_edit.changed(); }
    void setChanged(bool changed) override { m_edit.setChanged(changed); }
    void setFocusBack() override { m_edit.setFocus(); }

private:
    DBEdit &m_edit;
};

} // namespace

void LookupItemByCode(Database &mainConnection, DBEdit &field)
{
    if (!field.dataSet())
        return;
    // The typed code reaches the column before it is read from there.
    field.updateRecord();
    DBEditField adapter(field);
    ResultSetSlipRecord record(*field.dataSet());
    LookupItemByCode(mainConnection, adapter, record);
}
