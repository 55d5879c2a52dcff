#pragma once

#include <QLatin1String>

namespace fb {

// A new control with its name, as tests and screen readers find it.
template<typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace fb
