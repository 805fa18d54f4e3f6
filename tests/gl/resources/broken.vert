#version 110
void main()
{
    gl_Position = vec4(1.0) +;
}
//~
