# Tests of the backup manager window and its list sorting.
