# Compiles the help pages into the help file beside the program.
