# Tests of the optimizer's windows.
