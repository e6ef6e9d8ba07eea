-- A numeric loop of 20 million steps with Mod (%).
local total = 0
for i = 1, 20000000 do
  if i % 3 == 0 or i % 5 == 0 then total = total + i % 7 end
end
print(total)
