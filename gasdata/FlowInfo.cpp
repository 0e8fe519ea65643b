#include "gasdata/FlowInfo.h"

namespace gasmixer {

TFlowInfo FakeFlowInfoA()
{
    return {"O2", "O2", "g/min", 0.0715f, 0.0715f, 120, 0.000596f};
}

TFlowInfo FakeFlowInfoB()
{
    return {"N2", "Nitrogen", "g/min", 1.0f, 1.0f, 120, 0.00001f};
}

}  // namespace gasmixer
