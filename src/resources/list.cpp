// LIST definitions: record, statement routines and writer.
#include "resources/list.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

// The OBJECT.TYPE=LIST line: a list resets nothing between definitions.
void list_object_type(Records&) {}

void list_restart_related(Records& records) {
    ListRecord& list = records.list;
    list.related_counter = 0;
}

void list_restart_items(Records& records) {
    ListRecord& list = records.list;
    list.item_counter = 0;
}

uint16_t* list_next_related(Records& records) {
    ListRecord& list = records.list;
    if (list.related_counter == 0) list.related.assign(list.num_related, 0);
    if (list.related_counter >= list.related.size()) return nullptr;
    return &list.related[list.related_counter++];
}

Text* list_next_item(Records& records) {
    ListRecord& list = records.list;
    if (list.item_counter == 0) list.items.assign(list.total_items, std::nullopt);
    if (list.item_counter >= list.items.size()) return nullptr;
    return &list.items[list.item_counter++];
}

// The tables may be shorter than their counts (a count given without entry
// lines keeps the earlier table, or none): missing entries are 0 and no
// text.
FieldValue list_field(const Records& records, orrinrc::format::FieldId id, size_t index) {
    const ListRecord& list = records.list;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    const ListRecord& l = list;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(l.bounds);
    case F::ListRelatedCount: return number_value_of(l.num_related);
    case F::ListRelatedObject: return number_value_of(index < l.related.size() ? l.related[index] : 0);
    case F::ListTotal: return number_value_of(l.total_items);
    case F::ListOnDisplay: return number_value_of(l.items_on_display);
    case F::ListTopItem: return number_value_of(l.top_item);
    case F::ListAlignment: return number_value_of(l.alignment);
    case F::ListSelected: return number_value_of(static_cast<uint16_t>(l.selected_item));
    case F::ListStyle: return number_value_of(l.style);
    case F::ListTextColor: return number_value_of(l.text_color);
    case F::ListBackgroundColor: return number_value_of(l.background_color);
    case F::ListItem: return index < l.items.size() ? text_value_of(l.items[index]) : no_text();
    default:
        // The five attribute words, in their stored order.
        if (id >= F::ListEnable && id <= F::ListSynchronous)
            return number_value_of(l.attr[static_cast<int>(id) - static_cast<int>(F::ListEnable)]);
        return no_such_field();
    }
}

void write_list(BinWriter& w, const Records& records) {
    const ListRecord& list = records.list;
    write_record<list_field, orrinrc::format::Kind::List>(w, records, list.id);
}

}  // namespace orrinrc
