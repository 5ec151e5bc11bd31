# Microsoft Developer Studio Generated NMAKE File
SOURCE=.\App.cpp
SOURCE=..\lib\util.cpp
SOURCE="..\with blank\x.cpp"
