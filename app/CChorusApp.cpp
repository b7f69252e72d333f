#include "app/CChorusApp.h"

namespace {

CChorusApp theApp;

} // namespace

CChorusApp& TheApp() {
    return theApp;
}
