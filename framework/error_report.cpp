#include "framework/error_report.h"

#include <new>
#include <stdexcept>

#include "framework/file_exception.h"
#include "framework/message_box.h"

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const CFileException& error) {
        return error.GetErrorMessage();
    } catch (const std::bad_alloc&) {
        return "Not enough memory to finish this.";
    } catch (const std::exception& error) {
        return std::string("Unexpected error: ") + error.what();
    } catch (...) {
        return "Unexpected error.";
    }
}

void ReportCurrentException() {
    AfxMessageBox(CurrentExceptionMessage(), MB_OK | MB_ICONSTOP);
}
