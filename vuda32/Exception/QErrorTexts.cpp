// Fixed texts of the numbered library errors, one table per exception class.
// A code of one class's table is never looked up in another's.
#include <cstddef>
#include <cstdint>

#include "QException.h"

namespace {

struct QErrorText {
    uint32_t code;
    const char* text;
};

// QGenException
const QErrorText kGenExceptionTexts[] = {
    {1, "Out of memory"},
    {2, "Buffer overflow"},
    {104, "ResourceId not provided by client programmer."},
    {1501, "Could not open regestry key."},
    {1502, "Failed to set registry value."},
    {1503, "Failed to get registry value."},
    {1504, "Wrong data type in registry value."},
    {1505, "Failed to delete registry value."},
    {1506, "Failed to create key."},
    {1507, "Failed to close key."},
    {1508, "Failed to delete key."},
    {2003, "Couldn't find string resource id"},
    {2004, "::SizeofResource failed, can't continue loading string resource."},
    {2005, "Buffer overflow on FormatString"},
    {2502, "GetCurrentPositionEx failed."},
    {2503, "Line failed."},
    {2504, "LineTo failed."},
    {2505, "MoveToEx failed."},
    {2506, "Failed to create a compatible DC."},
    {2507, "Failed to delete DC."},
    {2508, "Failed to get color value."},
    {2509, "Failed to get the background color."},
    {2510, "Failed to set the background color."},
    {2511, "Failed to get the background mode."},
    {2512, "Failed to set the background mode."},
    {2513, "Failed to get the polygon fill mode."},
    {2514, "Failed to set the polygon fill mode."},
    {2515, "Failed to get the foreground mix mode."},
    {2516, "Failed to set the foreground mix mode."},
    {2517, "Failed to get the current stretching mode."},
    {2518, "Failed to set the current stretching mode."},
    {2519, "Failed to get the text color."},
    {2520, "Failed to set the text color."},
    {2521, "Failed to draw a solid rect."},
    {2522, "BitBlt failed."},
    {2523, "Failed to draw text."},
    {2524, "TextOut failed."},
    {2525, "Failed to select object to DC."},
    {2526, "Failed to unselect object to DC."},
    {2527, "Rectangle failed."},
    {2528, "FillRect failed."},
    {4501, "Failed to create accelerator table."},
    {5501, "Could not retrive DC from window handle."},
    {5502, "Could not release DC."},
    {6501, "Could not delete GDI object."},
    {6502, "Could not retrive information about a GDI object."},
    {9501, "Hook already created."},
    {10001, "Error loading image."},
    {10002, "Could not set the bitmap to the internal objects."},
    {10003, "Could not create a new bitmap."},
    {10501, "Failed to create font."},
    {11501, "Hook creation failed."},
    {14501, "Doesn\x92" "t support Win98SE compare."},
    {14502, "Unknown windows version parameter."},
    {14503, "VerifyVersionInfo API failed."},
    {14504, "SystemParametersInfo API failed."},
    {15501, "Failed to create pen."},
    {15502, "Failed to get stock pen."},
    {15503, "Wrong stock object, can only create pens."},
    {17501, "Failed to offset rect."},
    {17502, "Failed to inflate rect."},
    {19001, "Failed to create event object."},
    {19002, "Failed to close event handle."},
    {19003, "Failed to wait on event handle."},
    {19004, "Failed to signal event."},
    {19005, "Failed to reset event."},
    {19006, "Failed to pulse event."},
    {19501, "Wait failed."},
    {20001, "Creation of mutex failed."},
    {20002, "You must have a valid name to open a Mutex."},
    {20003, "Open Mutex failed."},
    {20004, "Release of mutex failed."},
    {20501, "Failed to create Brush."},
};

// QWinException
const QErrorText kWinExceptionTexts[] = {
    {1001, "Unregister of the window class failed"},
    {1002, "Failed to load icons or cursor."},
    {1003, "Failed to register window class."},
    {3501, "GetClientRect failed."},
    {3502, "Failed to create window. CreateWindowEx or CreateMDIWindow returned NULL."},
    {3503, "Window type not supported."},
    {3504, "SetWindowText failed."},
    {3505, "Timer could not be set."},
    {3506, "Destroy window failed."},
    {3507, "GetWindowRect failed."},
    {3508, "Failed to create background brush."},
    {3509, "Failed to get window style."},
    {3510, "Failed to display a messagebox."},
    {3511, "Failed to get window style."},
    {3512, "Failed to set the new window style."},
    {3513, "Failed to update the window after style change."},
    {3514, "ScreenToClient failed."},
    {3515, "Failed to set background color for the window."},
    {3516, "SetWindowPos failed."},
    {3517, "Could not make window transparent."},
    {3518, "Could not kill timer."},
    {3519, "Failed to set focus."},
    {3520, "Failed to Update window."},
    {7501, "Failed to create a drag image."},
    {7502, "Failed to delete item."},
    {7503, "Failed to retrive user defined data from item."},
    {7504, "Failed to insert a new column."},
    {7505, "Failed to insert a new item."},
    {7506, "Failed to set the text of an item."},
    {8501, "BeginDeferWindowPos called twice without a call to EndDeferWindowPos."},
    {8502, "BeginDeferWindowPos failed."},
    {8503, "EngDeferWindowPos failed."},
    {8504, "DeferWindowPos failed."},
    {11001, "Add button failed."},
    {12001, "Failed to create the imagelist."},
    {12002, "Failed to destroy image list."},
    {12003, "Failed to add bitmap to image list."},
    {12004, "Failed to replace Icon."},
    {12501, "Failed to retrive control Id."},
    {12502, "Failed to retrive dialog item."},
    {12503, "Failed to retrive value."},
    {12504, "Failed to set value."},
    {13001, "Failed to insert a new band."},
    {13002, "Init of the rebar failed."},
    {13501, "Failed to set the text of the statusbar part."},
    {13502, "Failed to calculate positions of all statusbar parts."},
    {14001, "Error adding string to listbox."},
    {14002, "Error setting item data."},
    {14003, "Error getting item data."},
    {14004, "Error getting text length."},
    {14005, "Error getting text."},
    {14007, "Error retriving number of selected items."},
    {14008, "Could not retrive selections."},
    {14009, "Number of selected items didnt match return value."},
    {15001, "Error adding string to combobox."},
    {15002, "Error getting text length."},
    {15003, "Error getting text."},
    {15004, "Failed to set list height."},
    {15005, "Failed to set field height."},
    {16001, "Error setting text."},
    {16002, "Failed to retrive the selected text."},
    {16501, "Failed to make control transparent."},
    {17001, "Could not create the new tab page."},
    {18001, "Could not create menu."},
    {18002, "Could not insert menu item."},
    {18003, "Could not create popup menu."},
    {18004, "Could not set menu to window."},
    {18005, "Could not create menu and failed to destory child in clean up."},
    {18006, "Failed to refresh menu."},
    {18007, "Failed to retrive menu information."},
    {18008, "Key duplicate. Cant insert menu."},
    {21001, "Failed to get the selected text."},
    {21002, "Failed to load rich edit DLL."},
    {21003, "Failed to set char format."},
    {21004, "GetNextDlgTabItem failed."},
};

// QFileException
const QErrorText kFileExceptionTexts[] = {
    {3000, "Couldn't open the file."},
    {3001, "Error reading the file."},
    {3002, "Error writing file."},
    {3003, "Failed to close file handle."},
    {3004, "Failed to get file size."},
    {6001, "Could not create log file."},
    {6002, "Could not write to log file."},
    {6003, "Could not create log entry or write to file."},
    {6004, "Could not close log file."},
    {21501, "Failed to get version data size."},
    {21502, "Failed to get version data."},
};

template <size_t N>
const char* Find(const QErrorText (&table)[N], uint32_t code) {
    for (const QErrorText& entry : table)
        if (entry.code == code) return entry.text;
    return kErrorNotInList;
}

}  // namespace

const char* const kErrorNotInList = "Error number not in list.";

const char* QGenException::ErrorText(uint32_t code) { return Find(kGenExceptionTexts, code); }
const char* QWinException::ErrorText(uint32_t code) { return Find(kWinExceptionTexts, code); }
const char* QFileException::ErrorText(uint32_t code) { return Find(kFileExceptionTexts, code); }
