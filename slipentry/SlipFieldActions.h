#pragma once

#include "SlipEditTable.h"

#include <QObject>
#include <QPointer>

class DBEdit;
class QAction;
class QMenu;
class TambrelForm;

// The actions of the slip edits: choosing companies, trading partners and
// items from the masters and registering the slip's values into them (by
// double-click and by the right-click menus), the company lookup of a typed
// code, the check digit of the slip number, and the recalculation when a
// quantity or price is left. Owned by the form it serves.
class SlipFieldActions : public QObject
{
    Q_OBJECT
public:
    explicit SlipFieldActions(TambrelForm *form);

    // Menu items.
    QAction *chooseItemAction() const { return m_chooseItem; }
    QAction *N1() const { return m_registerItem; }
    QAction *chooseCompanyAction() const { return m_chooseCompany; }
    QAction *MenuItem3() const { return m_registerCompany; }
    QAction *choosePartnerAction() const { return m_choosePartner; }
    QAction *MenuItem6() const { return m_registerPartner; }
    QAction *N4() const { return m_checkDigit; }

    // Handlers; the edit is the one double-clicked, left or focused.
    void HINMEI_11DblClick(DBEdit *edit);
    void N1Click(DBEdit *edit);
    void CONADblClick();
    void MenuItem3Click();
    void TORIDblClick();
    void MenuItem6Click();
    void COCOExit(DBEdit *edit);
    void N4Click();
    void KAZU_11Exit();
    void KAZT_11Exit();
    void CODE_11Exit(DBEdit *edit);
    // Enabling of the register items as a menu opens.
    void PopupMenuPopup(QMenu *menu);

private:
    void onDoubleClick(DBEdit *edit, SlipFieldClick action);
    void onExit(DBEdit *edit, SlipFieldExit action);
    DBEdit *focusedSlipEdit() const;
    bool registerAllowed() const;
    QAction *addItem(QMenu *menu, const char16_t *caption, const char16_t *hint, const char *name);

    TambrelForm *m_form;
    QAction *m_chooseItem = nullptr;
    QAction *m_registerItem = nullptr;
    QAction *m_chooseCompany = nullptr;
    QAction *m_registerCompany = nullptr;
    QAction *m_choosePartner = nullptr;
    QAction *m_registerPartner = nullptr;
    QAction *m_checkDigit = nullptr;
};
