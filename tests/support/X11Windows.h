// SPDX-License-Identifier: MIT
// A look at a test display's windows from outside, as a window manager has it: the top-level
// windows of a title, whether each is mapped, which one has the focus; and the two things a
// window manager does for the user that a bare Xvfb does not: minimise a window and ask it to
// close.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

class X11Windows {
public:
    explicit X11Windows(const std::string& display)
        : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~X11Windows() { xcb_disconnect(connection_); }
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    bool connected() const { return root_ != XCB_NONE; }

    // The root's children named `title`, mapped or not.
    std::vector<xcb_window_t> named(const std::string& title) {
        std::vector<xcb_window_t> found;
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
        if (!tree) return found;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            if (name(children[i]) == title) found.push_back(children[i]);
        return found;
    }

    // The windows named `title` that are on screen.
    std::vector<xcb_window_t> shown(const std::string& title) {
        std::vector<xcb_window_t> mapped;
        for (xcb_window_t window : named(title))
            if (isViewable(window)) mapped.push_back(window);
        return mapped;
    }

    bool isViewable(xcb_window_t window) {
        Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    xcb_window_t focus() {
        Reply<xcb_get_input_focus_reply_t> focus(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        return focus ? focus->focus : XCB_NONE;
    }

    // What a window manager does when the user minimises: the window goes off screen and its
    // WM_STATE says Iconic.
    void minimise(xcb_window_t window) {
        xcb_unmap_window(connection_, window);
        const xcb_atom_t state = atom("WM_STATE");
        const uint32_t iconic[] = {3, XCB_NONE};
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, state, state, 32, 2,
                            iconic);
        xcb_flush(connection_);
    }

    // What a window manager sends when the user clicks the window's close button.
    void requestClose(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, false, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

private:
    template <class T> struct FreeReply {
        void operator()(T* reply) const { std::free(reply); }
    };
    template <class T> using Reply = std::unique_ptr<T, FreeReply<T>>;

    std::string name(xcb_window_t window) {
        Reply<xcb_get_property_reply_t> property(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, false, window, XCB_ATOM_WM_NAME,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr));
        if (!property) return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(property.get())),
                           static_cast<size_t>(xcb_get_property_value_length(property.get())));
    }

    xcb_atom_t atom(const char* name) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, false, static_cast<uint16_t>(strlen(name)), name),
            nullptr));
        return reply ? reply->atom : XCB_NONE;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
};
