#pragma once
// The control walk lives with the other seams in platform/. This forwarder only keeps
// app/OptionEditing.cpp building until its include names platform/ControlWalk.h.

#include "platform/ControlWalk.h"
