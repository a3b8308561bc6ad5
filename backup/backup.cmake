# The backup manager window and its list sorting.
