# Fails unless the program file imports only what Windows 7 has, so that players on
# older machines can still start it (a missing import stops a program before its first
# line runs). What came later is looked up at run time instead.
#   cmake -DOBJDUMP=... -DEXE=... -P windows7_imports.cmake
#
# No list of everything Windows 7 exports is at hand here, so the check is two lists:
# the DLLs the program may import from at all, each of which Windows 7 has (the
# system's and the C runtime that MinGW links against), and the functions those DLLs
# gained after Windows 7 that a program like this may reach for. A function added to
# the program from a DLL outside the first list, or named in the second, fails here.
cmake_minimum_required(VERSION 3.25)

set(windows7_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll msvcrt.dll)
set(after_windows7
    # Display scale (Windows 8.1 and 10).
    AdjustWindowRectExForDpi AreDpiAwarenessContextsEqual EnableNonClientDpiScaling
    GetAwarenessFromDpiAwarenessContext GetDialogControlDpiChangeBehavior
    GetDialogDpiChangeBehavior GetDpiForSystem GetDpiForWindow GetDpiFromDpiAwarenessContext
    GetSystemDpiForProcess GetSystemMetricsForDpi GetThreadDpiAwarenessContext
    GetThreadDpiHostingBehavior GetWindowDpiAwarenessContext GetWindowDpiHostingBehavior
    IsValidDpiAwarenessContext LogicalToPhysicalPointForPerMonitorDPI
    PhysicalToLogicalPointForPerMonitorDPI SetDialogControlDpiChangeBehavior
    SetDialogDpiChangeBehavior SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
    SetThreadDpiHostingBehavior SystemParametersInfoForDpi
    # Pointer and touch input, screen rotation (Windows 8).
    EnableMouseInPointer GetCurrentInputMessageSource GetDisplayAutoRotationPreferences
    GetPointerFrameInfo GetPointerInfo GetPointerPenInfo GetPointerTouchInfo GetPointerType
    InitializeTouchInjection InjectTouchInput IsMouseInPointerEnabled
    SetDisplayAutoRotationPreferences
    # Files, time, threads, memory, loading (Windows 8 to 11; the DLL directory
    # functions only with an update that not every Windows 7 has).
    AddDllDirectory CopyFile2 CreateFile2 CreateFileMappingFromApp DeleteSynchronizationBarrier
    DiscardVirtualMemory EnterSynchronizationBarrier GetCurrentPackageFullName
    GetCurrentPackageId GetCurrentThreadStackLimits GetFirmwareType GetOverlappedResultEx
    GetPackageFamilyName GetProcessInformation GetProcessMitigationPolicy
    GetSystemCpuSetInformation GetSystemTimePreciseAsFileTime GetTempPath2A GetTempPath2W
    GetThreadDescription GetThreadInformation InitializeSynchronizationBarrier
    LoadPackagedLibrary MapViewOfFile3 MapViewOfFileFromApp OfferVirtualMemory
    PrefetchVirtualMemory RemoveDllDirectory SetDefaultDllDirectories SetProcessInformation
    SetProcessMitigationPolicy SetThreadDescription SetThreadInformation
    SetThreadSelectedCpuSets VirtualAlloc2 VirtualAllocFromApp WaitOnAddress
    WakeByAddressAll WakeByAddressSingle)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} RESULT_VARIABLE status OUTPUT_VARIABLE dump
                ERROR_VARIABLE dump)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} couldn't read ${EXE}:\n${dump}")
endif()

# Each DLL's name, then its functions, one a line: tab, address, tab, hint, name.
string(REGEX MATCHALL "DLL Name: [^\n]+|\n\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_][A-Za-z0-9_]*" lines
       "${dump}")
set(dll "")
set(functions 0)
set(problems "")
foreach(line IN LISTS lines)
    if(line MATCHES "^DLL Name: (.+)$")
        string(TOLOWER "${CMAKE_MATCH_1}" dll)
        if(NOT dll IN_LIST windows7_dlls)
            string(APPEND problems "\n  ${dll}: not one of the DLLs known here to come with Windows 7")
        endif()
    elseif(line MATCHES "([A-Za-z0-9_]+)$")
        math(EXPR functions "${functions} + 1")
        if(CMAKE_MATCH_1 IN_LIST after_windows7)
            string(APPEND problems "\n  ${dll}: ${CMAKE_MATCH_1}, which came after Windows 7")
        endif()
    endif()
endforeach()
if(functions EQUAL 0)
    message(FATAL_ERROR "found no imports in ${EXE}; has the output of objdump changed?")
endif()
if(problems)
    message(FATAL_ERROR "${EXE} would not start on Windows 7; it imports:${problems}")
endif()
message(STATUS "${EXE}: ${functions} imported functions, all in Windows 7")
