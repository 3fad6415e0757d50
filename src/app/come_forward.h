#pragma once
// A second start of the panel brings the running one forward: out of the
// notification area or minimised, in front of other windows. While the
// magnifier is open (the panel hidden behind it on purpose), the magnifier
// comes forward instead.

class FrmMain;

void come_forward(FrmMain& panel);
