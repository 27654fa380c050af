#include "app/install_step_table.h"

#include "res/resource.h"

namespace {

// The steps without a reader model take the same entry as the one with it.
template <int (*Step)(char *, int)> int WithoutDriverCode(int, char *message, int capacity) {
    return Step(message, capacity);
}

} // namespace

// The driver's section leads the report, although its step runs last. The
// check boxes are read and frozen in this order too.
const InstallStepRow kInstallStepTable[kInstallStepCount] = {
    {kOldOcfStep, nullptr, 0, 0, 0, ResultConvention::RemovalResult,
     "Detekcja/deinstalacja poprzedniego środowiska OCF: BŁĄD - ", nullptr, WithoutDriverCode<RemoveOldOcf>},
    {kIeStep, "ie", IDC_CHK_IE, IDC_STATUS_IE, 2, ResultConvention::StepResult,
     "Instalacja komponentów dla MS Internet Explorera: ", "msie", WithoutDriverCode<InstallIeComponents>},
    {kNetscapeStep, "ns", IDC_CHK_NETSCAPE, IDC_STATUS_NETSCAPE, 3, ResultConvention::StepResult,
     "Instalacja komponentów dla Netscape 4.x: ", "ns", WithoutDriverCode<InstallNetscapeComponents>},
    {kJavaPluginStep, "java", IDC_CHK_JAVA, IDC_STATUS_JAVA, 4, ResultConvention::StepResult,
     "Instalacja komponentów dla Sun Java Plug-in: ", "sun", WithoutDriverCode<InstallJavaPluginComponents>},
    {kReaderDriverStep, "driver", IDC_CHK_DRIVER, IDC_STATUS_DRIVER, 1, ResultConvention::StepResult,
     "Instalacja sterownika czytnika kart: ", "Drivers", InstallReaderDriver},
};
