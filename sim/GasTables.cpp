#include "sim/GasTables.h"

namespace gasmixer::sim {

// Names keep to the characters the program accepts in text registers.
ControllerModel GasAController()
{
    return {"GSC A9",
            {
                {2, "O2", "Oxygen", "g/min", 0.0715f, 120},
                {3, "5%H2/Ar", "5%H2,95%Ar", "g/min", 0.085f, 100},
                {4, "H2", "Hydrogen", "g/min", 0.05f, 50},
                {5, "Air", "Air", "g/min", 0.065f, 100},
                {6, "Air2", "AirBottle", "g/min", 0.065f, 100},
                {7, "Air3", "AirBottleDry", "g/min", 0.065f, 100},
            }};
}

ControllerModel GasBController()
{
    return {"GSC B9",
            {
                {2, "Ar", "Argon", "g/min", 1.4f, 100},
                {3, "N2", "Nitrogen", "g/min", 1.0f, 120},
                {4, "H2", "Hydrogen", "g/min", 1.2f, 80},
                {5, "H2O", "Water", "g/min", 2.0f, 50},
            }};
}

}  // namespace gasmixer::sim
