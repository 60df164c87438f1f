// The window manager's state of a top-level window (_NET_WM_STATE) read and asked for on the
// X server directly: the toolkit knows a window maximised in both directions only and reports
// one maximised in a single direction as normal.
#include "platform/ui/Internal.h"
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>

namespace {

// Values of the _NET_WM_STATE client message (its first data word, and its fourth: the
// source of the request, a normal application).
constexpr std::uint32_t Net_State_Remove = 0;
constexpr std::uint32_t Net_State_Add = 1;
constexpr std::uint32_t Net_Source_Application = 1;

xcb_connection_t* Connection()
{
    auto* App = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return App ? App->connection() : nullptr;
}

struct Net_Atoms {
    xcb_atom_t State = XCB_ATOM_NONE;
    xcb_atom_t Max_Vert = XCB_ATOM_NONE;
    xcb_atom_t Max_Horz = XCB_ATOM_NONE;
    xcb_atom_t Full_Screen = XCB_ATOM_NONE;
    xcb_atom_t Frame_Extents = XCB_ATOM_NONE;
};

// The atoms of the connection (interned once; all none without an X server).
const Net_Atoms& Atoms()
{
    static const Net_Atoms Interned = [] {
        Net_Atoms A;
        xcb_connection_t* C = Connection();
        if (!C) return A;
        const std::pair<xcb_atom_t*, const char*> Names[] = {{&A.State, "_NET_WM_STATE"},
                                                             {&A.Max_Vert, "_NET_WM_STATE_MAXIMIZED_VERT"},
                                                             {&A.Max_Horz, "_NET_WM_STATE_MAXIMIZED_HORZ"},
                                                             {&A.Full_Screen, "_NET_WM_STATE_FULLSCREEN"},
                                                             {&A.Frame_Extents, "_NET_FRAME_EXTENTS"}};
        xcb_intern_atom_cookie_t Cookies[std::size(Names)];
        for (std::size_t I = 0; I < std::size(Names); ++I)
            Cookies[I] = xcb_intern_atom(C, 0, static_cast<std::uint16_t>(std::strlen(Names[I].second)), Names[I].second);
        for (std::size_t I = 0; I < std::size(Names); ++I) {
            std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> Reply(
                xcb_intern_atom_reply(C, Cookies[I], nullptr), &std::free);
            if (Reply) *Names[I].first = Reply->atom;
        }
        return A;
    }();
    return Interned;
}

class Net_State_Filter : public QAbstractNativeEventFilter {
public:
    explicit Net_State_Filter(std::function<void(unsigned long long)> Changed) : Changed(std::move(Changed)) {}
    bool nativeEventFilter(const QByteArray& Type, void* Message, qintptr*) override
    {
        if (Type != "xcb_generic_event_t" || !Message) return false;
        const auto* Event = static_cast<const xcb_generic_event_t*>(Message);
        if ((Event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
        const auto* Property = static_cast<const xcb_property_notify_event_t*>(Message);
        if (Property->atom != XCB_ATOM_NONE && Property->atom == Atoms().State) Changed(Property->window);
        return false;   // the toolkit sees it as well
    }

private:
    std::function<void(unsigned long long)> Changed;
};

}  // namespace

namespace ui {

Net_Wm_State Read_Net_Wm_State(unsigned long long Window)
{
    Net_Wm_State State;
    xcb_connection_t* C = Connection();
    if (!C || Window == 0 || Atoms().State == XCB_ATOM_NONE) return State;
    const xcb_get_property_cookie_t Cookie =
        xcb_get_property(C, 0, static_cast<xcb_window_t>(Window), Atoms().State, XCB_ATOM_ATOM, 0, 64);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> Reply(xcb_get_property_reply(C, Cookie, nullptr),
                                                                         &std::free);
    if (!Reply) return State;
    State.Read = true;
    if (Reply->type != XCB_ATOM_ATOM || Reply->format != 32) return State;
    const auto* List = static_cast<const xcb_atom_t*>(xcb_get_property_value(Reply.get()));
    const int Count = xcb_get_property_value_length(Reply.get()) / static_cast<int>(sizeof(xcb_atom_t));
    for (int I = 0; I < Count; ++I) {
        State.Maximised_Vert |= List[I] == Atoms().Max_Vert;
        State.Maximised_Horz |= List[I] == Atoms().Max_Horz;
        State.Full_Screen |= List[I] == Atoms().Full_Screen;
    }
    return State;
}

Native_Place Read_Native_Place(unsigned long long Window)
{
    Native_Place Place;
    xcb_connection_t* C = Connection();
    if (!C || Window == 0) return Place;
    const auto Id = static_cast<xcb_window_t>(Window);
    // All asked at once, so that the answers describe the same moment.
    const xcb_get_geometry_cookie_t Geometry_Cookie = xcb_get_geometry(C, Id);
    const xcb_get_property_cookie_t Extents_Cookie =
        xcb_get_property(C, 0, Id, Atoms().Frame_Extents, XCB_ATOM_CARDINAL, 0, 4);
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> Geometry(
        xcb_get_geometry_reply(C, Geometry_Cookie, nullptr), &std::free);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> Extents(
        xcb_get_property_reply(C, Extents_Cookie, nullptr), &std::free);
    if (!Geometry) return Place;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> On_Root(
        xcb_translate_coordinates_reply(C, xcb_translate_coordinates(C, Id, Geometry->root, 0, 0), nullptr),
        &std::free);
    if (!On_Root) return Place;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> Tree(
        xcb_query_tree_reply(C, xcb_query_tree(C, Id), nullptr), &std::free);
    if (!Tree) return Place;
    Place.Read = true;
    // Published before the window manager has put the frame around the client, the frame
    // does not count yet: the client still stands where the frame is to go.
    const bool In_Frame = Tree->parent != Geometry->root;
    Place.Client_Left = On_Root->dst_x;
    Place.Client_Top = On_Root->dst_y;
    Place.Client_Width = Geometry->width;
    Place.Client_Height = Geometry->height;
    // left, right, top, bottom
    if (Extents && Extents->type == XCB_ATOM_CARDINAL && Extents->format == 32 &&
        xcb_get_property_value_length(Extents.get()) == 4 * static_cast<int>(sizeof(std::uint32_t))) {
        const auto* Value = static_cast<const std::uint32_t*>(xcb_get_property_value(Extents.get()));
        Place.Managed = In_Frame;
        Place.Frame_Left = static_cast<int>(Value[0]);
        Place.Frame_Top = static_cast<int>(Value[2]);
        Place.Framed = In_Frame && (Value[0] != 0 || Value[1] != 0 || Value[2] != 0 || Value[3] != 0);
    }
    return Place;
}

void Ask_Net_Wm_Maximised(unsigned long long Window, bool Maximised)
{
    xcb_connection_t* C = Connection();
    if (!C || Window == 0 || Atoms().State == XCB_ATOM_NONE) return;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> Tree(
        xcb_query_tree_reply(C, xcb_query_tree(C, static_cast<xcb_window_t>(Window)), nullptr), &std::free);
    if (!Tree) return;
    // Both directions in one request: the window manager changes them together.
    xcb_client_message_event_t Event{};
    Event.response_type = XCB_CLIENT_MESSAGE;
    Event.format = 32;
    Event.window = static_cast<xcb_window_t>(Window);
    Event.type = Atoms().State;
    Event.data.data32[0] = Maximised ? Net_State_Add : Net_State_Remove;
    Event.data.data32[1] = Atoms().Max_Horz;
    Event.data.data32[2] = Atoms().Max_Vert;
    Event.data.data32[3] = Net_Source_Application;
    xcb_send_event(C, 0, Tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&Event));
    xcb_flush(C);
}

void Watch_Net_Wm_State(std::function<void(unsigned long long Window)> Changed)
{
    static Net_State_Filter* Filter = nullptr;
    if (Filter || !Connection() || !QCoreApplication::instance()) return;
    Filter = new Net_State_Filter(std::move(Changed));
    QCoreApplication::instance()->installNativeEventFilter(Filter);
}

}  // namespace ui
