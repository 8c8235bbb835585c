// The ambient pressure, kept by the units table on its own (the gauge units'
// offsets follow it but may be changed apart from it); offered to the linked
// parameter that reads it.
#ifndef ZARN_RTUOM_RTUOM_AMBIENT_H
#define ZARN_RTUOM_RTUOM_AMBIENT_H

namespace zarn::rtuom {

// In Pa: 101325 after every build of the table, then what rtouom_modify_p_amb set.
double ambient_pressure();

}  // namespace zarn::rtuom

#endif
