# The optimizer's windows: the wizard and the advanced editor.
