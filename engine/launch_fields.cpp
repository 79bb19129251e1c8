#include "launch_fields.h"

#include <cstring>

#include "macros.h"

namespace kzo {

namespace {

template <std::size_t N>
void expandFieldMacros(char (&field)[N], const LaunchTime& time) {
    field[N - 1] = '\0';
    expandMacros(field, time);
}

// The field's text into out, bounded by the field's width.
template <std::size_t N>
void copyField(const char (&field)[N], char* out) {
    std::size_t length = fieldLength(field);
    if (length == N) length = N - 1;
    std::memcpy(out, field, length);
    out[length] = '\0';
}

// expandEnvironment needs a terminated text.
template <std::size_t N>
void expandField(const char (&field)[N], char* out) {
    char text[N];
    copyField(field, text);
    expandEnvironment(text, out);
}

}  // namespace

void expandRecordMacros(TaskRecord& copy, const LaunchTime& time) {
    expandFieldMacros(copy.command, time);
    expandFieldMacros(copy.folder, time);
    expandFieldMacros(copy.onError, time);
}

void expandLaunchFields(const TaskRecord& copy, LaunchFields& fields) {
    if (copy.type == kTypeMessage || copy.type == kTypeShutdown)
        copyField(copy.command, fields.command);
    else
        expandField(copy.command, fields.command);
    expandField(copy.folder, fields.folder);
    expandField(copy.onError, fields.onError);
}

}  // namespace kzo
