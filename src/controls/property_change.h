#pragma once
// A control's property setter redraws only when the value really changes.

template <typename T> bool changeProperty(T& property, const T& value) {
    if (property == value)
        return false;
    property = value;
    return true;
}
