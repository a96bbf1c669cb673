#include "common/AppState.h"

#include "platform/ui/Application.h"

AppState* AppState::ofSharedApplication() {
    return dynamic_cast<AppState*>(ui::Application::sharedApplication()->delegate());
}
