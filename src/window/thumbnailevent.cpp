#include "window/thumbnailctrl.h"

wxIMPLEMENT_ABSTRACT_CLASS(wxThumbnailEvent, wxNotifyEvent);

wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_LEFT_DCLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_RIGHT_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_MIDDLE_CLICK, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_RETURN, wxThumbnailEvent);
wxDEFINE_EVENT(wxEVT_COMMAND_THUMBNAIL_ITEMS_DROPPED, wxThumbnailEvent);

wxThumbnailEvent::wxThumbnailEvent(wxEventType commandType, int winid)
    : wxNotifyEvent(commandType, winid), m_itemIndex(-1), m_flags(0)
{
}

wxThumbnailEvent::wxThumbnailEvent(const wxThumbnailEvent& event)
    : wxNotifyEvent(event), m_itemIndex(event.m_itemIndex), m_flags(event.m_flags)
{
}
