#include "app/app_services.h"

namespace app {

TAppServices& Services() {
    static TAppServices services;
    return services;
}

}  // namespace app
