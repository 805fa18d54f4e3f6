#version 110
float Unused(float x)
{
    return x;
}
//~
