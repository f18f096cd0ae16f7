tanabashigo_add_test(tst_charts tst_charts.cpp LIBS tanabashigo_charts)
tanabashigo_add_test(tst_theory_command tst_theory_command.cpp LIBS Qt6::Gui)
target_compile_definitions(tst_theory_command
    PRIVATE TANABASHIGO_EXECUTABLE="$<TARGET_FILE:tanabashigo>")
add_dependencies(tst_theory_command tanabashigo)
