#pragma once

#include <glib-object.h>

#include <memory>

namespace fb::xls {

// Owns one reference to a GObject (a gsf input, output or infile).
struct GObjectUnref {
    void operator()(gpointer object) const noexcept
    {
        if (object)
            g_object_unref(object);
    }
};

template<typename T> using GsfRef = std::unique_ptr<T, GObjectUnref>;

// Makes gsf ready for use; safe to call any number of times.
void ensureGsfInitialised();

} // namespace fb::xls
