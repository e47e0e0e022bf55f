// Everything a host application needs: the main screen, the schedule records
// and the platform types they are made of.
#pragma once

#include <quillon/platform/Types.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/Arrays.h>
#include <quillon/platform/CTime.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Window.h>
#include <quillon/platform/FrameWindow.h>

#include <quillon/TimeRect.h>
#include <quillon/QProg.h>
#include <quillon/QProgLog.h>
#include <quillon/QMainScreen.h>
