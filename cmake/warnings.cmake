# Warnings are on for everything we compile ourselves.
add_compile_options(-Wall -Wextra)
