#include "bridge/TabChain.h"

#include <QKeyEvent>
#include <QTimer>
#include <QQuickWindow>
#include <QSet>

namespace {

// The items a region entry names: an item, or a list of items (nested lists
// flattened); anything else names none.
void collectRegions(const QVariant& entry, QList<QQuickItem*>& out, int depth = 0)
{
    if (depth > 8)
        return;
    if (auto* item = qvariant_cast<QQuickItem*>(entry)) {
        out << item;
        return;
    }
    if (auto* object = qvariant_cast<QObject*>(entry)) {
        if (auto* item = qobject_cast<QQuickItem*>(object))
            out << item;
        return;
    }
    if (entry.canConvert<QVariantList>()) {
        const QVariantList list = entry.toList();
        for (const QVariant& v : list)
            collectRegions(v, out, depth + 1);
    }
}

QList<QQuickItem*> regionItems(const QVariantList& list)
{
    QList<QQuickItem*> out;
    for (const QVariant& v : list)
        collectRegions(v, out);
    return out;
}

// Shown to the eye: visible, and no item on the way up fully transparent.
bool shown(const QQuickItem* item)
{
    for (const QQuickItem* at = item; at; at = at->parentItem()) {
        if (!at->isVisible() || at->opacity() <= 0.0)
            return false;
    }
    return true;
}

// The items under (and with) root that take the focus by Tab, in tree order;
// hidden or disabled branches are skipped whole.
void collectTakers(QQuickItem* root, QList<QQuickItem*>& out, QSet<QQuickItem*>& seen)
{
    if (!root || !root->isVisible() || !root->isEnabled() || root->opacity() <= 0.0)
        return;
    if (root->activeFocusOnTab() && !seen.contains(root)) {
        seen.insert(root);
        out << root;
    }
    const QList<QQuickItem*> children = root->childItems();
    for (QQuickItem* child : children)
        collectTakers(child, out, seen);
}

bool isInside(const QQuickItem* item, const QQuickItem* ancestor)
{
    for (const QQuickItem* at = item; at; at = at->parentItem()) {
        if (at == ancestor)
            return true;
    }
    return false;
}

}

TabChain::TabChain(QQuickItem* parent)
    : QQuickItem(parent)
{
}

TabChain::~TabChain()
{
    if (watched)
        watched->removeEventFilter(this);
}

QQuickItem* TabChain::scope() const
{
    return scopeItem ? scopeItem.data() : parentItem();
}

void TabChain::setScope(QQuickItem* item)
{
    if (scopeItem == item)
        return;
    scopeItem = item;
    emit scopeChanged();
}

void TabChain::setRegions(const QVariantList& list)
{
    regionList = list;
    emit regionsChanged();
}

void TabChain::setModal(const QVariantList& list)
{
    modalList = list;
    emit modalChanged();
}

void TabChain::setSuspended(bool on)
{
    if (isSuspended == on)
        return;
    isSuspended = on;
    emit suspendedChanged();
}

void TabChain::setKeepsFocus(bool on)
{
    if (isKeepingFocus == on)
        return;
    isKeepingFocus = on;
    emit keepsFocusChanged();
}

void TabChain::focusMoved()
{
    if (!isKeepingFocus)
        return;
    // After the focus change has settled: the window may be in the middle
    // of moving the focus.
    QTimer::singleShot(0, this, [this] {
        QQuickItem* root = scope();
        if (!isKeepingFocus || !watched || !root || !shown(root))
            return;
        QQuickItem* focus = watched->activeFocusItem();
        if (!focus || (focus != root && isInside(root, focus)))
            root->forceActiveFocus(Qt::OtherFocusReason);
    });
}

QList<QQuickItem*> TabChain::chain() const
{
    QQuickItem* root = scope();
    if (!root || !shown(root))
        return {};
    QSet<QQuickItem*> seen;
    const QList<QQuickItem*> modalItems = regionItems(modalList);
    for (QQuickItem* item : modalItems) {
        if (!item || !isInside(item, root) || !shown(item))
            continue;
        QList<QQuickItem*> out;
        collectTakers(item, out, seen);
        if (!out.isEmpty())
            return out;
    }
    seen.clear();
    QList<QQuickItem*> out;
    const QList<QQuickItem*> regions = regionItems(regionList);
    for (QQuickItem* region : regions) {
        if (region && isInside(region, root) && shown(region))
            collectTakers(region, out, seen);
    }
    collectTakers(root, out, seen);
    return out;
}

QVariantList TabChain::items() const
{
    QVariantList out;
    const QList<QQuickItem*> list = chain();
    for (QQuickItem* item : list)
        out << QVariant::fromValue(item);
    return out;
}

QQuickItem* TabChain::next(QQuickItem* from, bool forward) const
{
    const QList<QQuickItem*> list = chain();
    if (list.isEmpty())
        return nullptr;
    // The focus may lie in a part of a chain item (a field's text input).
    int at = -1;
    for (const QQuickItem* item = from; item && at < 0; item = item->parentItem())
        at = list.indexOf(const_cast<QQuickItem*>(item));
    if (at < 0)
        return forward ? list.first() : list.last();
    const int count = list.size();
    return list.at((at + (forward ? 1 : count - 1)) % count);
}

bool TabChain::moveFocus(bool forward)
{
    QQuickWindow* w = window();
    QQuickItem* target = next(w ? w->activeFocusItem() : nullptr, forward);
    if (!target)
        return false;
    target->forceActiveFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool TabChain::handlesTabIn(QQuickWindow* w) const
{
    QQuickItem* root = scope();
    if (!root || !w)
        return false;
    QQuickItem* focus = w->activeFocusItem();
    if (!focus)
        return true;
    if (focus->property("capturesKeys").toBool())
        return false;
    // Inside the scope, or above it (nothing of the scene has the focus yet).
    return isInside(focus, root) || isInside(root, focus);
}

bool TabChain::eventFilter(QObject* object, QEvent* event)
{
    if (object == watched && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && handlesTabIn(watched)) {
            // A capture under way keeps the focus where it is.
            if (isSuspended) {
                key->accept();
                return true;
            }
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            if (moveFocus(forward)) {
                key->accept();
                return true;
            }
        }
    }
    return QQuickItem::eventFilter(object, event);
}

void TabChain::itemChange(ItemChange change, const ItemChangeData& value)
{
    if (change == ItemSceneChange)
        watch(value.window);
    QQuickItem::itemChange(change, value);
}

void TabChain::watch(QQuickWindow* w)
{
    if (watched == w)
        return;
    if (watched)
        watched->removeEventFilter(this);
    disconnect(focusWatch);
    watched = w;
    if (watched) {
        watched->installEventFilter(this);
        focusWatch = connect(watched, &QQuickWindow::activeFocusItemChanged, this, &TabChain::focusMoved);
    }
}
