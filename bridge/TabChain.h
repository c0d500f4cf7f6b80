#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QVariantList>

// The scene's Tab order in reading order. Tab and Shift+Tab (Backtab) move
// the keyboard focus among the items that take it by Tab (activeFocusOnTab,
// visible, enabled, not faded out), region by region in the order of
// `regions`, and inside a region in the order of the item tree. Items of the
// scope in no region follow the last region. While an item of `modal` is
// visible and holds such items, the chain is those items alone.
//
// While `suspended` is true (the scene records keys) Tab and Shift+Tab move
// nothing. They are left to the focused item while it captures keys (its
// property `capturesKeys` is true), and to the scene as it would be without
// the chain when the focus is outside the scope. The chain wraps around at
// both ends.
//
// With `keepsFocus`, a focus that falls out of the scope to no item (the
// focused control was hidden or disabled) goes back to the scope, so the
// keys typed still reach it.
//
// It filters the key presses of the window its scope lies in; the scope is
// the item it is declared in unless `scope` says otherwise.
class TabChain : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QQuickItem* scope READ scope WRITE setScope NOTIFY scopeChanged)
    // Items, or lists of items, in reading order.
    Q_PROPERTY(QVariantList regions READ regions WRITE setRegions NOTIFY regionsChanged)
    Q_PROPERTY(QVariantList modal READ modal WRITE setModal NOTIFY modalChanged)
    Q_PROPERTY(bool suspended READ suspended WRITE setSuspended NOTIFY suspendedChanged)
    Q_PROPERTY(bool keepsFocus READ keepsFocus WRITE setKeepsFocus NOTIFY keepsFocusChanged)
public:
    explicit TabChain(QQuickItem* parent = nullptr);
    ~TabChain() override;

    QQuickItem* scope() const;
    void setScope(QQuickItem* item);
    QVariantList regions() const { return regionList; }
    void setRegions(const QVariantList& list);
    QVariantList modal() const { return modalList; }
    void setModal(const QVariantList& list);
    bool suspended() const { return isSuspended; }
    void setSuspended(bool on);
    bool keepsFocus() const { return isKeepingFocus; }
    void setKeepsFocus(bool on);

    // The items of the chain now, in order.
    Q_INVOKABLE QVariantList items() const;
    // The item after (forward) or before `from` in the chain, wrapping; the
    // first (or last) when `from` is null or in no place of the chain. Null
    // when the chain is empty.
    Q_INVOKABLE QQuickItem* next(QQuickItem* from, bool forward) const;
    // Moves the focus as Tab (forward) or Shift+Tab does; false, changing
    // nothing, when the chain is empty.
    Q_INVOKABLE bool moveFocus(bool forward);

signals:
    void scopeChanged();
    void regionsChanged();
    void modalChanged();
    void suspendedChanged();
    void keepsFocusChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    QList<QQuickItem*> chain() const;
    bool handlesTabIn(QQuickWindow* window) const;
    void watch(QQuickWindow* window);
    void focusMoved();

    QPointer<QQuickItem> scopeItem;
    QVariantList regionList;
    QVariantList modalList;
    bool isSuspended = false;
    bool isKeepingFocus = false;
    QMetaObject::Connection focusWatch;
    QPointer<QQuickWindow> watched;
};
