#include "skin/lists/office_list_box.h"

#include "platform/rtl/sysutils.h"

namespace skin {

// ---- TbsSkinOfficeItem --------------------------------------------------------------------------

void TbsSkinOfficeItem::SetImageIndex(int value) {
    FImageIndex = value;
    Touch();
}

void TbsSkinOfficeItem::SetTitle(const std::string& value) {
    FTitle = value;
    Touch();
}

void TbsSkinOfficeItem::SetCaption(const std::string& value) {
    FCaption = value;
    Touch();
}

void TbsSkinOfficeItem::SetEnabled(bool value) {
    FEnabled = value;
    Touch();
}

void TbsSkinOfficeItem::SetHeader(bool value) {
    FHeader = value;
    Touch();
}

void TbsSkinOfficeItem::Assign(const rtl::TCollectionItem& source) {
    const auto* other = dynamic_cast<const TbsSkinOfficeItem*>(&source);
    if (!other) {
        rtl::TCollectionItem::Assign(source);
        return;
    }
    SetImageIndex(other->FImageIndex);
    SetCaption(other->FCaption);
    SetTitle(other->FTitle);
    SetEnabled(other->FEnabled);
    SetHeader(other->FHeader);
}

// ---- TbsSkinOfficeItems -------------------------------------------------------------------------

TbsSkinOfficeItems::TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox)
    : rtl::TCollection([] { return std::make_unique<TbsSkinOfficeItem>(); }),
      OfficeListBox(AListBox) {}

vcl::TComponent* TbsSkinOfficeItems::GetOwner() const {
    return OfficeListBox;
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Add() {
    auto* item = static_cast<TbsSkinOfficeItem*>(rtl::TCollection::Add());
    OfficeListBox->Repaint();
    return item;
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Insert(int index) {
    auto* item = static_cast<TbsSkinOfficeItem*>(rtl::TCollection::Insert(index));
    OfficeListBox->Repaint();
    return item;
}

void TbsSkinOfficeItems::Delete(int index) {
    rtl::TCollection::Delete(index);
    OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Clear() {
    rtl::TCollection::Clear();
    OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Update(rtl::TCollectionItem* item) {
    (void)item;
    OfficeListBox->Repaint();
    OfficeListBox->UpdateScrollInfo();
}

void TbsSkinOfficeItems::Notify(rtl::TCollectionItem* item, rtl::TCollectionNotification action) {
    if (action == rtl::cnAdded)
        static_cast<TbsSkinOfficeItem*>(item)->Active = item->Index() == OfficeListBox->ItemIndex();
}

}  // namespace skin
