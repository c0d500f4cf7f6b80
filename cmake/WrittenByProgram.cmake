# The data files the program itself writes (settings, profiles, macros), as a
# pattern over paths relative to modules/. Laying out the data folder copies
# them only when they are missing, so a user's changes are never overwritten.
# Read by the build (LayoutData.cmake) and compiled into the program
# (storage/WrittenByProgram.h).
set(Q3_WRITTEN_BY_PROGRAM "^(setting/(apConfig|p[0-9]+)\\.bin|macro/.*)$")
